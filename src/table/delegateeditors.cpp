#include "delegateeditors.h"

#include <QAbstractItemModel>
#include <QComboBox>

namespace DelegateEditors {

bool isValueCell(const QModelIndex &index, int row) {
    return index.row() == row && index.column() == 1;
}

QComboBox *comboBox(QWidget *parent, const QStringList &items) {
    auto *box = new QComboBox(parent);
    for (const QString &item : items)
        box->addItem(item);
    return box;
}

void selectCellText(QComboBox *box, const QModelIndex &index) {
    box->setCurrentIndex(box->findData(index.data(Qt::DisplayRole).toString(), Qt::DisplayRole));
}

void writeCurrentText(const QComboBox *box, QAbstractItemModel *model, const QModelIndex &index) {
    model->setData(index, box->currentText(), Qt::EditRole);
}

} // namespace DelegateEditors
