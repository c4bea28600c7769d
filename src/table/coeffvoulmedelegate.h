#ifndef COEFFVOULMEDELEGATE_H
#define COEFFVOULMEDELEGATE_H

#include <QItemDelegate>

// Decimal spin box for the hit coefficient, 0.20..2.00.
class CoeffVoulmeDelegate : public QItemDelegate {
    Q_OBJECT
public:
    explicit CoeffVoulmeDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    void changedCoeffVoulme(double value);

private slots:
    void coeffVoulmeChanged(double value);
};

#endif // COEFFVOULMEDELEGATE_H
