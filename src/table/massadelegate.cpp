#include "massadelegate.h"

#include "table/delegateeditors.h"
#include "table/masseditor.h"
#include "table/monitor.h"

#include <QSpinBox>

MassaDelegate::MassaDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *MassaDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const {
    if (!DelegateEditors::isValueCell(index, TableTexts::RowMass))
        return QItemDelegate::createEditor(parent, option, index);
    auto *editor = new MassEditor(parent);
    editor->setRange(0, 5000);
    editor->setSingleStep(1);
    // The value reaches the record when the edit is committed (Enter, or
    // leaving the cell), so that Escape leaves the record, the results and
    // the project's modified state as they were.
    return editor;
}

void MassaDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    if (auto *spin = qobject_cast<QSpinBox *>(editor))
        spin->setValue(index.data(Qt::DisplayRole).toString().toInt());
    else
        QItemDelegate::setEditorData(editor, index);
}

void MassaDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                 const QModelIndex &index) const {
    if (auto *spin = qobject_cast<QSpinBox *>(editor)) {
        // As text, as the table shows it: a number would be painted with the
        // locale's group separators.
        if (DelegateEditors::commitText(model, index, QString::number(spin->value())))
            const_cast<MassaDelegate *>(this)->massaChanged(spin->value());
    } else
        QItemDelegate::setModelData(editor, model, index);
}

void MassaDelegate::massaChanged(int value) {
    emit changedMassa(value);
}
