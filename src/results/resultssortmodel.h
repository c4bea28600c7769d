#ifndef RESULTSSORTMODEL_H
#define RESULTSSORTMODEL_H

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

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    ResultsModel *results_;
};

#endif // RESULTSSORTMODEL_H
