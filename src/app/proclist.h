#ifndef PROCLIST_H
#define PROCLIST_H

#include <QTreeView>

// The "Processes" list; the Delete key asks to remove the current test.
class ProcList : public QTreeView {
    Q_OBJECT
public:
    explicit ProcList(QWidget *parent = nullptr);

signals:
    void pressKeyDel();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

#endif // PROCLIST_H
