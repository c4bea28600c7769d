#include "resultsmodel.h"

#include "records/keeperproc.h"
#include "records/processp.h"

ResultsModel::ResultsModel(KeeperProc *store, QAbstractItemModel *processes, QObject *parent)
    : QAbstractTableModel(parent), store_(store), processes_(processes) {
    connect(processes, &QAbstractItemModel::rowsInserted, this, &ResultsModel::inserted);
    connect(processes, &QAbstractItemModel::rowsRemoved, this, &ResultsModel::removed);
    connect(processes, &QAbstractItemModel::dataChanged, this, &ResultsModel::renamed);
    connect(processes, &QAbstractItemModel::modelReset, this, &ResultsModel::reset);
    connect(processes, &QAbstractItemModel::layoutChanged, this, &ResultsModel::reset);
    connect(processes, &QAbstractItemModel::rowsMoved, this, &ResultsModel::reset);
    reset();
}

int ResultsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_.size();
}

int ResultsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : FirstResultColumn + ResultsRow::ColumnCount;
}

QVariant ResultsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size())
        return QVariant();
    if (index.column() == CompareColumn)
        return role == Qt::CheckStateRole
                   ? QVariant(compared_.at(index.row()) ? Qt::Checked : Qt::Unchecked)
                   : QVariant();
    const int column = resultColumn(index.column());
    if (role == Qt::DisplayRole)
        return rows_.at(index.row()).text(column);
    if (role == Qt::TextAlignmentRole && ResultsRow::numeric(column))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return section == CompareColumn ? tr("Compare") : ResultsRow::title(resultColumn(section));
    if (role == Qt::ToolTipRole && section == CompareColumn)
        return tr("Tick up to %1 tests to compare their curves below.").arg(MaxCompared);
    return QVariant();
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == CompareColumn)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ResultsModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::CheckStateRole || index.column() != CompareColumn ||
        index.row() >= rows_.size())
        return false;
    const bool on = value.toInt() == Qt::Checked;
    if (on == compared_.at(index.row()))
        return true;
    if (on && comparedRows().size() >= MaxCompared) {
        emit comparisonFull();
        return false;
    }
    compared_[index.row()] = on;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit comparisonChanged();
    return true;
}

QList<int> ResultsModel::comparedRows() const {
    QList<int> rows;
    for (int r = 0; r < compared_.size(); ++r)
        if (compared_.at(r))
            rows << r;
    return rows;
}

void ResultsModel::clearCompared() {
    if (comparedRows().isEmpty())
        return;
    compared_.fill(false);
    emit dataChanged(index(0, CompareColumn), index(rows_.size() - 1, CompareColumn),
                     {Qt::CheckStateRole});
    emit comparisonChanged();
}

ResultsRow ResultsModel::evaluate(int r) const {
    const QString name = processes_->index(r, NameColumn).data().toString();
    const ProcessP *record = store_->at(r);
    if (!record) {
        ResultsRow unknown;
        unknown.setName(name);
        return unknown;
    }
    return ResultsRow(*record, name);
}

void ResultsModel::refresh(int r) {
    if (r < 0 || r >= rows_.size())
        return;
    const ResultsRow fresh = evaluate(r);
    bool same = true;
    for (int column = 0; column < ResultsRow::ColumnCount && same; ++column)
        same = fresh.text(column) == rows_.at(r).text(column);
    // Typing a description calls for this too: only a change shows.
    if (same)
        return;
    rows_[r] = fresh;
    emit dataChanged(index(r, FirstResultColumn), index(r, columnCount() - 1));
    if (compared_.at(r))
        emit comparisonChanged();
}

void ResultsModel::inserted(const QModelIndex &parent, int first, int last) {
    if (parent.isValid())
        return;
    beginInsertRows(QModelIndex(), first, last);
    for (int r = first; r <= last; ++r) {
        rows_.insert(r, evaluate(r));
        compared_.insert(r, false);
    }
    endInsertRows();
}

void ResultsModel::removed(const QModelIndex &parent, int first, int last) {
    if (parent.isValid() || first > last || last >= rows_.size())
        return;
    bool ticked = false;
    for (int r = first; r <= last; ++r)
        ticked = ticked || compared_.at(r);
    beginRemoveRows(QModelIndex(), first, last);
    rows_.remove(first, last - first + 1);
    compared_.remove(first, last - first + 1);
    endRemoveRows();
    if (ticked)
        emit comparisonChanged();
}

void ResultsModel::renamed(const QModelIndex &topLeft, const QModelIndex &bottomRight) {
    if (topLeft.column() > NameColumn || bottomRight.column() < NameColumn)
        return;
    for (int r = topLeft.row(); r <= bottomRight.row() && r < rows_.size(); ++r) {
        const QString name = processes_->index(r, NameColumn).data().toString();
        if (name == rows_.at(r).text(ResultsRow::Name))
            continue;
        rows_[r].setName(name);
        const QModelIndex cell = index(r, FirstResultColumn + ResultsRow::Name);
        emit dataChanged(cell, cell);
        if (compared_.at(r))
            emit comparisonChanged();
    }
}

void ResultsModel::reset() {
    const bool ticked = !comparedRows().isEmpty();
    beginResetModel();
    const int count = processes_->rowCount();
    rows_.clear();
    rows_.reserve(count);
    for (int r = 0; r < count; ++r)
        rows_.append(evaluate(r));
    compared_.fill(false, count);
    endResetModel();
    if (ticked)
        emit comparisonChanged();
}
