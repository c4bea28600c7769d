#ifndef DURATIONDELEGATE_H
#define DURATIONDELEGATE_H

#include <QItemDelegate>

// Combo box for the duration of hardening; the item index is the hardening index.
class DurationDelegate : public QItemDelegate {
    Q_OBJECT
public:
    explicit DurationDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    void changedDays(int index);

private slots:
    void daysChanged(int index);
};

#endif // DURATIONDELEGATE_H
