#ifndef MONITOR_H
#define MONITOR_H

#include <QTreeView>

class ActivityEvaluation;
class ProcessP;
class QStandardItem;
class QStandardItemModel;

// The parameters-and-results table of the current test: labels in column 0,
// values in column 1. Editing a parameter emits the new value (the main window
// stores it in the record before the emit returns) and then re-evaluates the
// rows that depend on it.
class Monitor : public QTreeView {
    Q_OBJECT
public:
    enum Row {
        RowMass,
        RowDuration,
        RowPeriod,
        RowGrade,
        RowSupplier,
        RowDays,
        RowBrakingRecord,
        RowTemperatureNotObserved,
        RowSeparator,
        RowContraction,
        RowContraction1k3,
        RowBraking,
        RowBrakingCorrection,
        RowAverageTemperature,
        RowTemperatureCorrection,
        RowTotal,
        RowActivity,
        RowHit,
        RowActivityWithHit,
        RowSpecificContraction,
        RowCount
    };

    explicit Monitor(QWidget *parent = nullptr);
    ~Monitor() override;

    // Shows the record (not owned) and evaluates every row.
    void showProcess(ProcessP *record);
    // Drops the values, keeps the labels; the record may be deleted afterwards.
    void clearProcess();
    ProcessP *currentRecord() const { return current; }
    QStandardItemModel *tableModel() const { return model; }

signals:
    void changedBraking();
    void changedTemp();
    void changedDaysA(int index);
    void changedCemenetA(int index);
    void changedSupplierA(int index);
    void changedMassaA(int index);
    void changedCoefVA(double value);

public slots:
    void changedDays(int index);
    void changedCement(int index);
    void changedSupplier(int index);
    void changedMassa(int value);
    void changedCoeffV(double value);
    void paramChanged(QStandardItem *item);

private:
    QStandardItem *putValue(int row, const QString &text, bool editable);
    void putCheck(int row, bool checked);
    // Replaces the text of the row's value item, or puts a read-only one there.
    void updateValue(int row, const QString &text);
    void showBraking(const ActivityEvaluation &evaluation);
    void showBrakingCorrection(const ActivityEvaluation &evaluation);
    // The total and everything read from the tables with it.
    void showTotal(const ActivityEvaluation &evaluation);
    void showLookups(const ActivityEvaluation &evaluation);

    QStandardItemModel *model;
    bool updating = false;
    ProcessP *current = nullptr;
    float total = 0.0f;
};

#endif // MONITOR_H
