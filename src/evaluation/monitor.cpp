#include "monitor.h"

#include <QStandardItemModel>

Monitor::Monitor(QWidget *parent) : QTreeView(parent), model(new QStandardItemModel(0, 2, this)) {
    setAlternatingRowColors(true);
    setModel(model);
    setHeaderHidden(true);
    setIndentation(0);
    connect(model, &QStandardItemModel::itemChanged, this, &Monitor::paramChanged);
}

Monitor::~Monitor() = default;

void Monitor::showProcess(ProcessP *record) {
    current = record;
}

void Monitor::clearProcess() {
    current = nullptr;
}

void Monitor::changedDays(int index) {
    emit changedDaysA(index);
}
void Monitor::changedCement(int index) {
    emit changedCemenetA(index);
}
void Monitor::changedSupplier(int index) {
    emit changedSupplierA(index);
}
void Monitor::changedMassa(int value) {
    emit changedMassaA(value);
}
void Monitor::changedCoeffV(double value) {
    emit changedCoefVA(value);
}
void Monitor::paramChanged(QStandardItem *) {}
