#include "masseditor.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>

MassEditor::MassEditor(QWidget *parent) : QSpinBox(parent) {
    // Numbers in the window use the point and no group separator, whatever
    // the system's locale; a separator must never be taken for grouping.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    setLocale(c);
    setGroupSeparatorShown(false);
}

QString MassEditor::wholeGramsHint() {
    return tr("The mass is whole grams: the digits after the separator are left out.");
}

void MassEditor::keyPressEvent(QKeyEvent *event) {
    const QString text = event->text();
    const QChar c = text.size() == 1 ? text.at(0) : QChar();
    if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
        inFraction_ = true;
        QToolTip::showText(mapToGlobal(QPoint(0, height())), wholeGramsHint(), this);
        event->accept();
        return;
    }
    if (inFraction_ && c.isDigit()) {
        event->accept(); // part of the fraction: left out
        return;
    }
    inFraction_ = false; // any other key starts the number afresh
    QSpinBox::keyPressEvent(event);
}
