#ifndef MONITOR_H
#define MONITOR_H

#include <QTreeView>

class ProcessP;
class QStandardItem;
class QStandardItemModel;

// The parameters-and-results table of the current test.
class Monitor : public QTreeView {
    Q_OBJECT
public:
    explicit Monitor(QWidget *parent = nullptr);
    ~Monitor() override;

    void showProcess(ProcessP *record);
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
    QStandardItemModel *model;
    bool updating = false;
    ProcessP *current = nullptr;
    float total = 0.0f;
};

#endif // MONITOR_H
