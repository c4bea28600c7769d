#ifndef PROCESSMODEL_H
#define PROCESSMODEL_H

#include <QStandardItemModel>

// The process list's model: one row per test record, columns Date, Time, Name;
// only the Name column can be edited.
class ProcessModel : public QStandardItemModel {
    Q_OBJECT
public:
    explicit ProcessModel(QObject *parent = nullptr);
    Qt::ItemFlags flags(const QModelIndex &index) const override;
};

#endif // PROCESSMODEL_H
