#include "processmodel.h"

ProcessModel::ProcessModel(QObject *parent) : QStandardItemModel(0, 3, parent) {}

Qt::ItemFlags ProcessModel::flags(const QModelIndex &index) const {
    if (index.column() == 2)
        return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}
