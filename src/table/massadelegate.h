#ifndef MASSADELEGATE_H
#define MASSADELEGATE_H

#include <QItemDelegate>

// Spin box for the cement mass in the cup, 0..5000 g.
class MassaDelegate : public QItemDelegate {
    Q_OBJECT
public:
    explicit MassaDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    void changedMassa(int value);

private slots:
    void massaChanged(int value);
};

#endif // MASSADELEGATE_H
