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
// Writes the editor's text into the cell unless the cell shows it already,
// and tells whether it did: the delegate passes the value on only then. The
// view calls this only when an edit is committed (Enter, leaving the cell),
// never on Escape, so Escape leaves the record, the results and the project's
// modified state as they were.
bool commitText(QAbstractItemModel *model, const QModelIndex &index, const QString &text);
// As commitText for the item the user chose; no item chosen changes nothing.
bool commitChoice(const QComboBox *box, QAbstractItemModel *model, const QModelIndex &index);

} // namespace DelegateEditors

#endif // DELEGATEEDITORS_H
