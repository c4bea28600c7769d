#include "coeffvoulmedelegate.h"

#include "evaluation/activityevaluation.h"
#include "table/coefficienteditor.h"
#include "table/delegateeditors.h"
#include "table/monitor.h"

#include <QDoubleSpinBox>

CoeffVoulmeDelegate::CoeffVoulmeDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *CoeffVoulmeDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const {
    if (!DelegateEditors::isValueCell(index, TableTexts::RowHit))
        return QItemDelegate::createEditor(parent, option, index);
    auto *editor = new CoefficientEditor(parent);
    // Stored when the edit is committed; Escape changes nothing.
    return editor;
}

void CoeffVoulmeDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
        spin->setValue(double(index.data(Qt::DisplayRole).toString().toFloat()));
    else
        QItemDelegate::setEditorData(editor, index);
}

void CoeffVoulmeDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                       const QModelIndex &index) const {
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        // The text the table shows for the stored coefficient, not a number
        // the view would paint in the locale's format.
        if (DelegateEditors::commitText(model, index,
                                        ActivityEvaluation::numberText(spin->value())))
            const_cast<CoeffVoulmeDelegate *>(this)->coeffVoulmeChanged(spin->value());
    } else
        QItemDelegate::setModelData(editor, model, index);
}

void CoeffVoulmeDelegate::coeffVoulmeChanged(double value) {
    emit changedCoeffVoulme(value);
}
