#ifndef MODALANSWER_H
#define MODALANSWER_H

// Answers modal message boxes from the event loop the box itself runs.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <memory>

inline void answerNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr,
                                 QString *title = nullptr) {
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, button, text, title]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->reject();
    });
    poll->start();
}

// The next boxes in turn, one button each; their texts are appended to *texts.
inline void answerMessageBoxes(QList<QMessageBox::StandardButton> buttons,
                               QStringList *texts = nullptr) {
    auto *poll = new QTimer;
    poll->setInterval(5);
    auto answered = std::make_shared<QPointer<QMessageBox>>();
    QObject::connect(poll, &QTimer::timeout, [poll, buttons, texts, answered]() mutable {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == answered->data())
            return;
        *answered = box;
        if (texts)
            *texts << box->text();
        if (QAbstractButton *b = box->button(buttons.takeFirst()))
            b->click();
        else
            box->reject();
        if (buttons.isEmpty()) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
}

#endif // MODALANSWER_H
