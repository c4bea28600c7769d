#ifndef CEMENTDELEGATE_H
#define CEMENTDELEGATE_H

#include <QItemDelegate>

// Combo box for the expected cement grade; the item index is the grade index.
class CementDelegate : public QItemDelegate {
    Q_OBJECT
public:
    explicit CementDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    void changedCement(int index);

private slots:
    void cementChanged(int index);
};

#endif // CEMENTDELEGATE_H
