#include "durationdelegate.h"

#include "evaluation/referencetables.h"
#include "table/delegateeditors.h"
#include "table/monitor.h"

#include <QComboBox>

namespace {
QStringList dayItems() {
    QStringList items;
    for (int i = 0; i < ReferenceTables::Columns; ++i)
        items << ReferenceTables::hardeningDaysText(i);
    return items;
}
} // namespace

DurationDelegate::DurationDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *DurationDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const {
    if (!DelegateEditors::isValueCell(index, TableTexts::RowDays))
        return QItemDelegate::createEditor(parent, option, index);
    QComboBox *editor = DelegateEditors::comboBox(parent, dayItems());
    // The chosen item is stored when the edit is committed; Escape changes nothing.
    return editor;
}

void DurationDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    if (auto *box = qobject_cast<QComboBox *>(editor))
        DelegateEditors::selectCellText(box, index);
    else
        QItemDelegate::setEditorData(editor, index);
}

void DurationDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const {
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        if (DelegateEditors::commitChoice(box, model, index))
            const_cast<DurationDelegate *>(this)->daysChanged(box->currentIndex());
    } else
        QItemDelegate::setModelData(editor, model, index);
}

void DurationDelegate::daysChanged(int index) {
    emit changedDays(index);
}
