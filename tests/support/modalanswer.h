#ifndef MODALANSWER_H
#define MODALANSWER_H

// Answers the next modal message box with the given button, from the event
// loop the box itself runs.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

inline void answerNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr,
                                 QString *title = nullptr) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [button, text, title, poll]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, *poll);
            return;
        }
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->reject();
        // The stored function holds `poll` itself; dropping it breaks the
        // cycle (the timer runs a copy, which lives on until it returns).
        *poll = nullptr;
    };
    QTimer::singleShot(0, *poll);
}

#endif // MODALANSWER_H
