#ifndef PROCLIST_H
#define PROCLIST_H

#include <QTreeView>

// The "Processes" list; the Delete key asks to remove the current test, F2
// edits the name of the current row.
class ProcList : public QTreeView {
    Q_OBJECT
public:
    explicit ProcList(QWidget *parent = nullptr);

    static const int NameColumn = 2;

signals:
    void pressKeyDel();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

#endif // PROCLIST_H
