#ifndef DIALOGTAB_H
#define DIALOGTAB_H

#include <QDialog>

class QTableView;
class QStandardItemModel;

// A read-only view of one reference table: activity (activity = true) or
// specific contraction. Modeless, so that it can stay open beside the window.
class DialogTab : public QDialog {
    Q_OBJECT
public:
    DialogTab(QWidget *parent, bool activity);

    QTableView *tableView() const { return view; }
    QStandardItemModel *tableModel() const { return model; }

private:
    QTableView *view;
    QStandardItemModel *model;
};

#endif // DIALOGTAB_H
