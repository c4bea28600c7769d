#include "proclist.h"

#include <QKeyEvent>

ProcList::ProcList(QWidget *parent) : QTreeView(parent) {}

void ProcList::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Delete) {
        emit pressKeyDel();
        return;
    }
    // The name is the row's only editable cell, whichever cell was clicked.
    const QModelIndex at = currentIndex();
    if (event->key() == Qt::Key_F2 && at.isValid() && state() != EditingState) {
        edit(at.siblingAtColumn(NameColumn));
        return;
    }
    QTreeView::keyPressEvent(event);
}
