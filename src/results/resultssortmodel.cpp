#include "resultssortmodel.h"

#include "results/resultsmodel.h"

ResultsSortModel::ResultsSortModel(ResultsModel *source, QObject *parent)
    : QSortFilterProxyModel(parent), results_(source) {
    setSourceModel(source);
}

QList<int> ResultsSortModel::shownRows() const {
    QList<int> rows;
    for (int r = 0; r < rowCount(); ++r)
        rows << mapToSource(index(r, 0)).row();
    return rows;
}

bool ResultsSortModel::lessThan(const QModelIndex &left, const QModelIndex &right) const {
    const int column = ResultsModel::resultColumn(left.column());
    const ResultsRow &a = results_->row(left.row());
    const ResultsRow &b = results_->row(right.row());
    if (column < 0) // the ticks: ticked first
        return results_->compared(left.row()) && !results_->compared(right.row());
    // A descending sort asks lessThan(right, left) for "left above right".
    if (sortOrder() == Qt::AscendingOrder)
        return ResultsRow::before(a, b, column, Qt::AscendingOrder);
    return ResultsRow::before(b, a, column, Qt::DescendingOrder);
}

void ResultsSortModel::setFilter(const QualityFilter &filter, bool active) {
    const bool same =
        active == filtered_ &&
        (!active || (filter.hardeningIndex == filter_.hardeningIndex &&
                     filter.grade == filter_.grade && filter.supplier == filter_.supplier &&
                     filter.from == filter_.from && filter.to == filter_.to));
    if (same)
        return;
    filter_ = filter;
    filtered_ = active;
    invalidateFilter();
}

bool ResultsSortModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const {
    return sourceParent.isValid() || !filtered_ || filter_.accepts(results_->row(sourceRow));
}
