#include "procdelegate.h"

#include <QLineEdit>

ProcDelegate::ProcDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *ProcDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &) const {
    return new QLineEdit(parent);
}

void ProcDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setText(index.data(Qt::DisplayRole).toString());
}

void ProcDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                const QModelIndex &index) const {
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        model->setData(index, line->text(), Qt::EditRole);
    emit changed();
}
