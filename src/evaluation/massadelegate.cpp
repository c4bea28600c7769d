#include "massadelegate.h"

#include "evaluation/delegateeditors.h"
#include "evaluation/monitor.h"

#include <QSpinBox>

MassaDelegate::MassaDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *MassaDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const {
    if (!DelegateEditors::isValueCell(index, Monitor::RowMass))
        return QItemDelegate::createEditor(parent, option, index);
    auto *editor = new QSpinBox(parent);
    editor->setRange(0, 5000);
    editor->setSingleStep(1);
    // Every value typed is stored and evaluated at once.
    connect(editor, QOverload<int>::of(&QSpinBox::valueChanged), const_cast<MassaDelegate *>(this),
            &MassaDelegate::massaChanged);
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
    if (auto *spin = qobject_cast<QSpinBox *>(editor))
        // As text, as the table shows it: a number would be painted with the
        // locale's group separators.
        model->setData(index, QString::number(spin->value()), Qt::EditRole);
    else
        QItemDelegate::setModelData(editor, model, index);
}

void MassaDelegate::massaChanged(int value) {
    emit changedMassa(value);
}
