#ifndef PRINTDIALOG_H
#define PRINTDIALOG_H

#include <QDialog>
#include <QList>

class QAbstractItemModel;
class QCheckBox;
class QDialogButtonBox;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

// Lets the user tick the tests to print and choose between printer and PDF.
class PrintDialog : public QDialog {
    Q_OBJECT
public:
    // count: tests in the store; sourceModel: the process list's model (its
    // Date, Time and Name texts are shown); currentIndex: the shown test or -1.
    // outputFormat and selection receive the user's choice when Ok is pressed.
    PrintDialog(int count, QAbstractItemModel *sourceModel, int currentIndex, int *outputFormat,
                QList<int> *selection, QWidget *parent = nullptr);

    QTreeView *view() const { return tree; }
    QStandardItemModel *model() const { return items; }
    QCheckBox *selectAllBox() const { return selectAllCheck; }
    QCheckBox *pdfBox() const { return pdfCheck; }
    QDialogButtonBox *buttons() const { return buttonBox; }

private slots:
    void print();
    void selectAll();
    void itemSelect(QStandardItem *item);

private:
    void setAllChecked(bool checked);

    QTreeView *tree;
    QStandardItemModel *items;
    QCheckBox *selectAllCheck;
    QCheckBox *pdfCheck;
    QDialogButtonBox *buttonBox;
    int *format;
    QList<int> *chosen;
};

#endif // PRINTDIALOG_H
