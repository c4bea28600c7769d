#ifndef DELEGATEEDITORS_H
#define DELEGATEEDITORS_H

#include <QStringList>

class QAbstractItemModel;
class QComboBox;
class QModelIndex;
class QWidget;

// What the parameter editors of the results table have in common.
namespace DelegateEditors {

// The value cell (column 1) of the given row.
bool isValueCell(const QModelIndex &index, int row);
// A combo box holding the items (no icon, no user data).
QComboBox *comboBox(QWidget *parent, const QStringList &items);
// Selects the item whose text equals the cell's display text exactly, or none.
void selectCellText(QComboBox *box, const QModelIndex &index);
// Writes the current item's text into the cell.
void writeCurrentText(const QComboBox *box, QAbstractItemModel *model, const QModelIndex &index);

} // namespace DelegateEditors

#endif // DELEGATEEDITORS_H
