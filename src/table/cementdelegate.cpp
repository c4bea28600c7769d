#include "cementdelegate.h"

#include "table/delegateeditors.h"
#include "table/monitor.h"

#include <QComboBox>

namespace {
QStringList gradeItems() {
    return {QStringLiteral("M-100"), QStringLiteral("M-200"),      QStringLiteral("M-300"),
            QStringLiteral("M-400"), QStringLiteral("M-500"),      QStringLiteral("M-600"),
            QStringLiteral("M-700"), CementDelegate::tr("Unknown")};
}
} // namespace

CementDelegate::CementDelegate(QObject *parent) : QItemDelegate(parent) {}

QWidget *CementDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const {
    if (!DelegateEditors::isValueCell(index, TableTexts::RowGrade))
        return QItemDelegate::createEditor(parent, option, index);
    QComboBox *editor = DelegateEditors::comboBox(parent, gradeItems());
    // The chosen item is stored when the edit is committed; Escape changes nothing.
    return editor;
}

void CementDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    if (auto *box = qobject_cast<QComboBox *>(editor))
        DelegateEditors::selectCellText(box, index);
    else
        QItemDelegate::setEditorData(editor, index);
}

void CementDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                  const QModelIndex &index) const {
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        if (DelegateEditors::commitChoice(box, model, index))
            const_cast<CementDelegate *>(this)->cementChanged(box->currentIndex());
    } else
        QItemDelegate::setModelData(editor, model, index);
}

void CementDelegate::cementChanged(int index) {
    emit changedCement(index);
}
