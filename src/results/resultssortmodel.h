#ifndef RESULTSSORTMODEL_H
#define RESULTSSORTMODEL_H

#include "evaluation/qualityfilter.h"

#include <QSortFilterProxyModel>

class ResultsModel;

// The results overview in the order the user chose by a click on a column
// header: ResultsRow decides, so "?" stays last whichever the direction.
// Unsorted (column -1) it keeps the project's order.
class ResultsSortModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ResultsSortModel(ResultsModel *source, QObject *parent = nullptr);

    // Rows of the source (project rows) in the order shown.
    QList<int> shownRows() const;
    // Shows only the tests the filter accepts; all when not active.
    void setFilter(const QualityFilter &filter, bool active);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    ResultsModel *results_;
    QualityFilter filter_;
    bool filtered_ = false;
};

#endif // RESULTSSORTMODEL_H
