#ifndef PROCDELEGATE_H
#define PROCDELEGATE_H

#include <QItemDelegate>

// Editor of a test's name in the process list; every committed edit marks the
// project modified.
class ProcDelegate : public QItemDelegate {
    Q_OBJECT
public:
    explicit ProcDelegate(QObject *parent = nullptr);
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    void changed() const;
};

#endif // PROCDELEGATE_H
