#ifndef MONITOR_H
#define MONITOR_H

#include "evaluation/tabletexts.h"

#include <QTreeView>

class ProcessP;
class QStandardItem;
class QStandardItemModel;

// The parameters-and-results table of the current test: labels in column 0,
// values in column 1, both as TableTexts composes them (rows by
// TableTexts::Row). Editing a parameter emits the new value (the main window
// stores it in the record before the emit returns) and then re-evaluates the
// rows that depend on it.
class Monitor : public QTreeView {
    Q_OBJECT
public:
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
    // Shows the rows' texts: the looked-up results (activities, specific
    // contraction) replace their text, every other row gets a new item.
    void show(const TableTexts &texts, std::initializer_list<int> rows);

    QStandardItemModel *model;
    bool updating = false;
    ProcessP *current = nullptr;
    float total = 0.0f;
};

#endif // MONITOR_H
