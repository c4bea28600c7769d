#include "proclist.h"

#include <QKeyEvent>

ProcList::ProcList(QWidget *parent) : QTreeView(parent) {}

void ProcList::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Delete) {
        emit pressKeyDel();
        return;
    }
    QTreeView::keyPressEvent(event);
}
