#include "monitor.h"

#include "evaluation/activityevaluation.h"
#include "evaluation/cementdelegate.h"
#include "evaluation/coeffvoulmedelegate.h"
#include "evaluation/durationdelegate.h"
#include "evaluation/massadelegate.h"
#include "evaluation/supplierdelegate.h"
#include "records/processp.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace {
const int LabelWidth = 280;
const QColor EditableBackground(245, 245, 180);
const QString NotApplied = QStringLiteral("-");
const QString Unknown = QStringLiteral("?");

// Column 0 texts by row; the separator row has none.
const char *const Labels[Monitor::RowCount] = {
    QT_TRANSLATE_NOOP("Monitor", "Cement weight in cup Co, g"),
    QT_TRANSLATE_NOOP("Monitor", "Duration, hh:mm"),
    QT_TRANSLATE_NOOP("Monitor", "Period, sec"),
    QT_TRANSLATE_NOOP("Monitor", "Cement grade"),
    QT_TRANSLATE_NOOP("Monitor", "ΔΔV, ml(supplier)"),
    QT_TRANSLATE_NOOP("Monitor", "Duration of hardening, days"),
    QT_TRANSLATE_NOOP("Monitor", "Braking record"),
    QT_TRANSLATE_NOOP("Monitor", "Inobservance t"),
    nullptr,
    QT_TRANSLATE_NOOP("Monitor", "Contraction ΔV(Cₒ3), ml"),
    QT_TRANSLATE_NOOP("Monitor", "Contraction ΔV 1k3, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Braking"),
    QT_TRANSLATE_NOOP("Monitor", "Braking correction ΔΔV, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Average temperature, °C"),
    QT_TRANSLATE_NOOP("Monitor", "Temperature correction, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Total contraction ΔVₒ, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Activity R, MPa"),
    QT_TRANSLATE_NOOP("Monitor", "Hit coefficient"),
    QT_TRANSLATE_NOOP("Monitor", "Activity with Hit Coefficient, MPa"),
    QT_TRANSLATE_NOOP("Monitor", "Specific contraction ΔV, ml"),
};

void makeReadOnly(QStandardItem *item) {
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
}
} // namespace

Monitor::Monitor(QWidget *parent) : QTreeView(parent), model(new QStandardItemModel(0, 2, this)) {
    setAlternatingRowColors(true);
    for (int row = 0; row < RowCount; ++row) {
        if (!Labels[row])
            continue;
        auto *label = new QStandardItem(tr(Labels[row]));
        makeReadOnly(label);
        model->setItem(row, 0, label);
    }
    setModel(model);
    setHeaderHidden(true);
    // The value column takes what the labels leave, and never pushes the
    // table wider than its dock: a click on a value would scroll the labels
    // out of sight.
    header()->setMinimumSectionSize(fontMetrics().averageCharWidth() * 3);
    header()->setDefaultSectionSize(header()->minimumSectionSize());
    header()->setStretchLastSection(true);
    setColumnWidth(0, LabelWidth);
    setIndentation(0);
    connect(model, &QStandardItemModel::itemChanged, this, &Monitor::paramChanged);

    auto *days = new DurationDelegate(this);
    auto *cement = new CementDelegate(this);
    auto *supplier = new SupplierDelegate(this);
    auto *massa = new MassaDelegate(this);
    auto *coeff = new CoeffVoulmeDelegate(this);
    setItemDelegateForRow(RowDays, days);
    setItemDelegateForRow(RowGrade, cement);
    setItemDelegateForRow(RowSupplier, supplier);
    setItemDelegateForRow(RowMass, massa);
    setItemDelegateForRow(RowHit, coeff);
    connect(days, &DurationDelegate::changedDays, this, &Monitor::changedDays);
    connect(cement, &CementDelegate::changedCement, this, &Monitor::changedCement);
    connect(supplier, &SupplierDelegate::changedSupplier, this, &Monitor::changedSupplier);
    connect(massa, &MassaDelegate::changedMassa, this, &Monitor::changedMassa);
    connect(coeff, &CoeffVoulmeDelegate::changedCoeffVoulme, this, &Monitor::changedCoeffV);
}

Monitor::~Monitor() = default;

void Monitor::showProcess(ProcessP *record) {
    if (!record)
        return;
    updating = true;
    current = record;
    const ActivityEvaluation e(*record);
    putValue(RowMass, e.massText(), true);
    putValue(RowDuration, e.durationText(), false);
    putValue(RowPeriod, e.periodText(), false);
    putValue(RowGrade, e.gradeText(tr("Unknown")), true);
    putValue(RowSupplier, e.supplierText(), true);
    QStandardItem *days = putValue(RowDays, e.hardeningDaysText(), true);
    days->setFlags(days->flags() | Qt::ItemIsEditable);
    putCheck(RowBrakingRecord, e.brakingRecord());
    putCheck(RowTemperatureNotObserved, e.temperatureNotObserved());
    putValue(RowContraction, e.contractionMlText(), false);
    putValue(RowContraction1k3, e.specificContraction3hText(), false);
    if (e.evaluated()) {
        showBraking(e);
        putValue(RowAverageTemperature, e.averageTemperatureText(), false);
        putValue(RowTemperatureCorrection,
                 e.temperatureNotObserved() ? e.temperatureCorrectionText() : NotApplied, false);
        showTotal(e);
        putValue(RowHit, e.hitFactorText(), true);
    } else {
        // Rows 17 and 18 keep what they hold: empty after a clear.
        for (int row = RowBraking; row <= RowActivity; ++row)
            putValue(row, Unknown, false);
        putValue(RowSpecificContraction, Unknown, false);
    }
    setColumnWidth(0, LabelWidth);
    updating = false;
}

void Monitor::clearProcess() {
    model->removeColumn(1);
    current = nullptr;
}

QStandardItem *Monitor::putValue(int row, const QString &text, bool editable) {
    auto *item = new QStandardItem(text);
    if (editable)
        item->setBackground(EditableBackground);
    else
        makeReadOnly(item);
    model->setItem(row, 1, item);
    return item;
}

void Monitor::putCheck(int row, bool checked) {
    auto *item = new QStandardItem;
    // Only a click on the box or Space toggles the flag: no text editor may
    // open here and write an empty value, which would count as a toggle.
    item->setFlags((item->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setBackground(EditableBackground);
    model->setItem(row, 1, item);
}

void Monitor::updateValue(int row, const QString &text) {
    if (QStandardItem *item = model->item(row, 1))
        item->setText(text);
    else
        putValue(row, text, false);
}

void Monitor::showBraking(const ActivityEvaluation &e) {
    putValue(RowBraking, e.brakingRecord() ? e.brakingText(tr("Yes"), tr("No")) : NotApplied,
             false);
    showBrakingCorrection(e);
}

void Monitor::showBrakingCorrection(const ActivityEvaluation &e) {
    putValue(RowBrakingCorrection, e.brakingRecord() ? e.brakingCorrectionText() : NotApplied,
             false);
}

void Monitor::showTotal(const ActivityEvaluation &e) {
    total = e.total();
    putValue(RowTotal, e.totalText(), false);
    showLookups(e);
}

void Monitor::showLookups(const ActivityEvaluation &e) {
    updateValue(RowActivity, e.activityText());
    updateValue(RowActivityWithHit, e.activityWithHitText());
    updateValue(RowSpecificContraction, e.specificContractionText());
}

// The partial re-evaluations below run after the main window has stored the
// new value, so an evaluation of the record reflects the edit.

void Monitor::changedDays(int index) {
    emit changedDaysA(index);
    if (!current)
        return;
    const ActivityEvaluation e(*current);
    if (e.evaluated())
        showLookups(e);
}

void Monitor::changedCement(int index) {
    emit changedCemenetA(index);
    if (!current)
        return;
    // Only a braking record lets the grade reach the results.
    const ActivityEvaluation e(*current);
    if (e.evaluated() && e.brakingRecord()) {
        showBraking(e);
        showTotal(e);
    }
}

void Monitor::changedSupplier(int index) {
    emit changedSupplierA(index);
    if (!current)
        return;
    const ActivityEvaluation e(*current);
    if (e.evaluated() && e.brakingRecord()) {
        showBrakingCorrection(e);
        showTotal(e);
    }
}

void Monitor::changedMassa(int value) {
    emit changedMassaA(value);
    if (!current)
        return;
    const ActivityEvaluation e(*current);
    putValue(RowContraction1k3, e.specificContraction3hText(), false);
    if (e.evaluated()) {
        showBraking(e);
        showTotal(e);
    }
}

void Monitor::changedCoeffV(double value) {
    emit changedCoefVA(value);
    if (!current)
        return;
    const ActivityEvaluation e(*current);
    if (e.evaluated())
        updateValue(RowActivityWithHit, e.activityWithHitText());
}

void Monitor::paramChanged(QStandardItem *item) {
    if (updating || !item || item->column() != 1)
        return;
    // The main window answers by toggling the flag and showing the record
    // again, which replaces this item: it must not be used after the emit.
    if (item->row() == RowBrakingRecord)
        emit changedBraking();
    else if (item->row() == RowTemperatureNotObserved)
        emit changedTemp();
}
