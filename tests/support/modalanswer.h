#ifndef MODALANSWER_H
#define MODALANSWER_H

// Answers the next modal message box with the given button, from the event
// loop the box itself runs.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

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

#endif // MODALANSWER_H
