#include "monitor.h"

#include "records/processp.h"
#include "table/cementdelegate.h"
#include "table/coeffvoulmedelegate.h"
#include "table/durationdelegate.h"
#include "table/massadelegate.h"
#include "table/supplierdelegate.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace {
const int LabelWidth = 280;
const QColor EditableBackground(245, 245, 180);

void makeReadOnly(QStandardItem *item) {
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
}

// Rows whose item keeps its place and only changes its text.
bool lookedUp(int row) {
    return row == TableTexts::RowActivity || row == TableTexts::RowActivityWithHit ||
           row == TableTexts::RowSpecificContraction;
}
} // namespace

Monitor::Monitor(QWidget *parent) : QTreeView(parent), model(new QStandardItemModel(0, 2, this)) {
    setAlternatingRowColors(true);
    for (int row = 0; row < TableTexts::RowCount; ++row) {
        if (row == TableTexts::RowSeparator)
            continue;
        auto *label = new QStandardItem(TableTexts::label(row));
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
    setItemDelegateForRow(TableTexts::RowDays, days);
    setItemDelegateForRow(TableTexts::RowGrade, cement);
    setItemDelegateForRow(TableTexts::RowSupplier, supplier);
    setItemDelegateForRow(TableTexts::RowMass, massa);
    setItemDelegateForRow(TableTexts::RowHit, coeff);
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
    const TableTexts texts(*record);
    const bool evaluated = texts.evaluation().evaluated();
    for (int row = 0; row < TableTexts::RowCount; ++row) {
        if (!texts.filled(row))
            continue; // the hit rows of a short test keep what they hold
        if (TableTexts::isCheckBox(row))
            putCheck(row, texts.checked(row));
        else if (evaluated && lookedUp(row))
            updateValue(row, texts.value(row));
        else
            putValue(row, texts.value(row), TableTexts::editable(row));
    }
    if (evaluated)
        total = texts.evaluation().total();
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

void Monitor::show(const TableTexts &texts, std::initializer_list<int> rows) {
    for (int row : rows) {
        if (lookedUp(row))
            updateValue(row, texts.value(row));
        else
            putValue(row, texts.value(row), TableTexts::editable(row));
    }
    if (texts.evaluation().evaluated())
        total = texts.evaluation().total();
}

// The partial re-evaluations below run after the main window has stored the
// new value, so an evaluation of the record reflects the edit.

void Monitor::changedDays(int index) {
    emit changedDaysA(index);
    if (!current)
        return;
    const TableTexts texts(*current);
    if (texts.evaluation().evaluated())
        show(texts, {TableTexts::RowActivity, TableTexts::RowActivityWithHit,
                     TableTexts::RowSpecificContraction});
}

void Monitor::changedCement(int index) {
    emit changedCemenetA(index);
    if (!current)
        return;
    // Only a braking record lets the grade reach the results.
    const TableTexts texts(*current);
    const ActivityEvaluation &e = texts.evaluation();
    if (e.evaluated() && e.brakingRecord())
        show(texts, {TableTexts::RowBraking, TableTexts::RowBrakingCorrection, TableTexts::RowTotal,
                     TableTexts::RowActivity, TableTexts::RowActivityWithHit,
                     TableTexts::RowSpecificContraction});
}

void Monitor::changedSupplier(int index) {
    emit changedSupplierA(index);
    if (!current)
        return;
    const TableTexts texts(*current);
    const ActivityEvaluation &e = texts.evaluation();
    if (e.evaluated() && e.brakingRecord())
        show(texts,
             {TableTexts::RowBrakingCorrection, TableTexts::RowTotal, TableTexts::RowActivity,
              TableTexts::RowActivityWithHit, TableTexts::RowSpecificContraction});
}

void Monitor::changedMassa(int value) {
    emit changedMassaA(value);
    if (!current)
        return;
    const TableTexts texts(*current);
    show(texts, {TableTexts::RowContraction1k3});
    if (texts.evaluation().evaluated())
        show(texts, {TableTexts::RowBraking, TableTexts::RowBrakingCorrection, TableTexts::RowTotal,
                     TableTexts::RowActivity, TableTexts::RowActivityWithHit,
                     TableTexts::RowSpecificContraction});
}

void Monitor::changedCoeffV(double value) {
    emit changedCoefVA(value);
    if (!current)
        return;
    const TableTexts texts(*current);
    if (texts.evaluation().evaluated())
        show(texts, {TableTexts::RowActivityWithHit});
}

void Monitor::paramChanged(QStandardItem *item) {
    if (updating || !item || item->column() != 1)
        return;
    // The main window answers by toggling the flag and showing the record
    // again, which replaces this item: it must not be used after the emit.
    if (item->row() == TableTexts::RowBrakingRecord)
        emit changedBraking();
    else if (item->row() == TableTexts::RowTemperatureNotObserved)
        emit changedTemp();
}
