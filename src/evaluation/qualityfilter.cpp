#include "qualityfilter.h"

#include <algorithm>

bool QualityFilter::accepts(const ResultsRow &row) const {
    if (row.hardeningIndex() != hardeningIndex)
        return false;
    if (grade >= 0 && row.grade() != grade)
        return false;
    if (supplier >= 0 && row.supplier() != supplier)
        return false;
    // A range leaves out the tests without a valid date.
    if ((from.isValid() || to.isValid()) && !row.date().isValid())
        return false;
    if (from.isValid() && row.date() < from)
        return false;
    return !to.isValid() || row.date() <= to;
}

QVector<ResultsRow> QualityFilter::apply(const QVector<ResultsRow> &rows) const {
    QVector<ResultsRow> shown;
    for (const ResultsRow &row : rows)
        if (accepts(row))
            shown.append(row);
    std::stable_sort(shown.begin(), shown.end(), [](const ResultsRow &a, const ResultsRow &b) {
        return ResultsRow::before(a, b, ResultsRow::Date, Qt::AscendingOrder);
    });
    return shown;
}

int QualityFilter::activityColumn() const {
    return withHit ? ResultsRow::ActivityWithHit : ResultsRow::Activity;
}

int QualityFilter::commonHardeningIndex(const QVector<ResultsRow> &rows) {
    int counts[7] = {};
    for (const ResultsRow &row : rows)
        if (row.hardeningIndex() >= 0 && row.hardeningIndex() < 7)
            ++counts[row.hardeningIndex()];
    const int *most = std::max_element(counts, counts + 7);
    return *most > 0 ? int(most - counts) : 2;
}
