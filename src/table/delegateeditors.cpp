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

bool commitText(QAbstractItemModel *model, const QModelIndex &index, const QString &text) {
    if (index.data(Qt::DisplayRole).toString() == text)
        return false;
    model->setData(index, text, Qt::EditRole);
    return true;
}

bool commitChoice(const QComboBox *box, QAbstractItemModel *model, const QModelIndex &index) {
    return box->currentIndex() >= 0 && commitText(model, index, box->currentText());
}

} // namespace DelegateEditors
