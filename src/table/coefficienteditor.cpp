#include "coefficienteditor.h"

#include <QKeyEvent>

CoefficientEditor::CoefficientEditor(QWidget *parent) : QDoubleSpinBox(parent) {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    setLocale(c);
    setDecimals(2);
    setRange(0.2, 2.0);
    setSingleStep(0.01);
}

void CoefficientEditor::keyPressEvent(QKeyEvent *event) {
    if (event->text() == QLatin1String(",")) {
        QKeyEvent point(event->type(), Qt::Key_Period, event->modifiers(), QStringLiteral("."),
                        event->isAutoRepeat(), ushort(event->count()));
        QDoubleSpinBox::keyPressEvent(&point);
        event->setAccepted(point.isAccepted());
        return;
    }
    QDoubleSpinBox::keyPressEvent(event);
}
