#ifndef RESULTSMODEL_H
#define RESULTSMODEL_H

#include "evaluation/resultsrow.h"

#include <QAbstractTableModel>
#include <QVector>

class KeeperProc;

// The results overview of the open project: row r is test r of the store,
// column 0 the "Compare" tick, then the columns of ResultsRow, then the
// strength the laboratory's standard test measured, which the user types in.
//
// It follows the process list's model, which the main window keeps in step
// with the store: rows inserted there are evaluated here from the store's
// records, rows removed there go here, a name edited there is renamed here.
// An edit of a test's parameters comes through refresh(). Only copies of the
// texts are kept; the records are read from the store when needed.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum { CompareColumn = 0, FirstResultColumn = 1 };
    static constexpr int MaxCompared = 12;
    // The process list's column of the names.
    static constexpr int NameColumn = 2;

    ResultsModel(KeeperProc *store, QAbstractItemModel *processes, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The tick of the compare column; a tick beyond MaxCompared is refused.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    static constexpr int MeasuredColumn = FirstResultColumn + ResultsRow::ColumnCount;

    static int resultColumn(int modelColumn) { return modelColumn - FirstResultColumn; }
    const ResultsRow &row(int r) const { return rows_.at(r); }
    KeeperProc *store() const { return store_; }

    bool compared(int r) const { return compared_.value(r); }
    // The ticked rows in project order.
    QList<int> comparedRows() const;
    void clearCompared();

public slots:
    // Evaluates test r again (after an edit of its parameters).
    void refresh(int r);

signals:
    // The ticks changed, or a ticked test changed or went.
    void comparisonChanged();
    // A tick was refused: MaxCompared tests are ticked already.
    void comparisonFull();
    // The user typed the measured strength of test r (NaN: cleared); the
    // owner stores it and calls refresh(r).
    void strengthEdited(int r, double mpa);

private slots:
    void inserted(const QModelIndex &parent, int first, int last);
    void removed(const QModelIndex &parent, int first, int last);
    void renamed(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    void reset();

private:
    ResultsRow evaluate(int r) const;

    KeeperProc *store_;
    QAbstractItemModel *processes_;
    QVector<ResultsRow> rows_;
    QVector<bool> compared_;
};

#endif // RESULTSMODEL_H
