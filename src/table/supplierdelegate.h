#ifndef SUPPLIERDELEGATE_H
#define SUPPLIERDELEGATE_H

#include <QItemDelegate>

// Combo box for the supplier's braking correction; the item index is the
// supplier index.
class SupplierDelegate : public QItemDelegate {
    Q_OBJECT
public:
    explicit SupplierDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    void changedSupplier(int index);

private slots:
    void supplierChanged(int index);
};

#endif // SUPPLIERDELEGATE_H
