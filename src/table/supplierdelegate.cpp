#include "supplierdelegate.h"

#include "table/delegateeditors.h"
#include "table/monitor.h"

#include <QComboBox>

namespace {
// Item i stands for supplier index i and shows its correction in ml.
QStringList supplierItems() {
    QStringList items;
    for (int i = 0; i < 7; ++i)
        items << QString::number(1.1 + 0.1 * i, 'f', 1);
    return items;
}
} // namespace

SupplierDelegate::SupplierDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *SupplierDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const {
    if (!DelegateEditors::isValueCell(index, TableTexts::RowSupplier))
        return QItemDelegate::createEditor(parent, option, index);
    QComboBox *editor = DelegateEditors::comboBox(parent, supplierItems());
    // The chosen item is stored when the edit is committed; Escape changes nothing.
    return editor;
}

void SupplierDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    if (auto *box = qobject_cast<QComboBox *>(editor))
        DelegateEditors::selectCellText(box, index);
    else
        QItemDelegate::setEditorData(editor, index);
}

void SupplierDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const {
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        if (DelegateEditors::commitChoice(box, model, index))
            const_cast<SupplierDelegate *>(this)->supplierChanged(box->currentIndex());
    } else
        QItemDelegate::setModelData(editor, model, index);
}

void SupplierDelegate::supplierChanged(int index) {
    emit changedSupplier(index);
}
