#include "qualitypanel.h"

#include "evaluation/referencetables.h"
#include "results/coincidenceplot.h"
#include "results/controlchartplot.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>

namespace {
// The earliest date a date box offers stands for "no limit".
const QDate Open(2000, 1, 1);

QDateEdit *dateEdit() {
    auto *edit = new QDateEdit;
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setMinimumDate(Open);
    edit->setSpecialValueText(QCoreApplication::translate("QualityPanel", "any"));
    edit->setCalendarPopup(true);
    edit->setDate(Open);
    return edit;
}
} // namespace

QualityPanel::QualityPanel(QWidget *parent)
    : QWidget(parent), statistics_(new QualityStatistics({}, QualityFilter())) {
    days_ = new QComboBox;
    for (int i = 0; i < ReferenceTables::Columns; ++i)
        days_->addItem(ReferenceTables::hardeningDaysText(i));
    days_->setCurrentIndex(2);
    grade_ = new QComboBox;
    grade_->addItem(tr("any"), -1);
    for (int i = 0; i < 7; ++i)
        grade_->addItem(QStringLiteral("M-%1").arg((i + 1) * 100), i);
    grade_->addItem(tr("Unknown"), 7);
    supplier_ = new QComboBox;
    supplier_->addItem(tr("any"), -1);
    for (int i = 0; i < 7; ++i)
        supplier_->addItem(QString::number(1.1 + 0.1 * i, 'f', 1), i);
    activity_ = new QComboBox;
    activity_->addItems({tr("Activity with hit coefficient"), tr("Activity R")});
    from_ = dateEdit();
    to_ = dateEdit();
    baselineKind_ = new QComboBox;
    baselineKind_->addItems({tr("all tests shown"), tr("the dates"), tr("the first tests")});
    first_ = new QSpinBox;
    first_->setRange(2, 255);
    first_->setValue(20);
    baseFrom_ = dateEdit();
    baseTo_ = dateEdit();
    warnings_ = new QCheckBox(tr("Warning limits"));
    only_ = new QCheckBox(tr("Table: only these tests"));

    auto *grid = new QGridLayout;
    const auto put = [grid](int row, int column, const QString &text, QWidget *widget) {
        auto *label = new QLabel(text);
        label->setBuddy(widget);
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(widget, row, column + 1);
    };
    put(0, 0, tr("Hardening, days:"), days_);
    put(0, 2, tr("Grade:"), grade_);
    put(0, 4, tr("Supplier ΔΔV:"), supplier_);
    put(0, 6, tr("From:"), from_);
    put(0, 8, tr("To:"), to_);
    put(1, 0, tr("Values:"), activity_);
    put(1, 2, tr("Limits from:"), baselineKind_);
    put(1, 4, tr("First:"), first_);
    put(1, 6, tr("From:"), baseFrom_);
    put(1, 8, tr("To:"), baseTo_);
    grid->addWidget(warnings_, 0, 10);
    grid->addWidget(only_, 1, 10);
    grid->setColumnStretch(11, 1);

    chart_ = new ControlChartPlot;
    coincidence_ = new CoincidencePlot;
    auto *plots = new QSplitter(Qt::Horizontal);
    plots->addWidget(chart_);
    plots->addWidget(coincidence_);
    plots->setStretchFactor(0, 3);
    plots->setStretchFactor(1, 2);

    text_ = new QPlainTextEdit;
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *copy = new QPushButton(tr("Copy statistics"));
    auto *save = new QPushButton(tr("Export statistics..."));
    apply_ = new QPushButton(tr("Apply K..."));
    apply_->setToolTip(tr("Sets the hit coefficient of the selected tests (or, with none "
                          "selected, of the tests shown here) to the coincidence coefficient K."));
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(statisticsText()); });
    connect(save, &QPushButton::clicked, this, &QualityPanel::exportRequested);
    connect(apply_, &QPushButton::clicked, this, &QualityPanel::applyRequested);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addWidget(apply_);
    buttons->addStretch(1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(text_, 1);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addLayout(grid);
    layout->addWidget(plots, 3);
    layout->addLayout(bottom, 1);

    connect(days_, qOverload<int>(&QComboBox::activated), this, [this] { daysChosen_ = true; });
    for (QComboBox *box : {days_, grade_, supplier_, activity_, baselineKind_})
        connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this,
                &QualityPanel::recompute);
    for (QDateEdit *edit : {from_, to_, baseFrom_, baseTo_})
        connect(edit, &QDateEdit::dateChanged, this, &QualityPanel::recompute);
    connect(first_, qOverload<int>(&QSpinBox::valueChanged), this, &QualityPanel::recompute);
    for (QCheckBox *box : {warnings_, only_})
        connect(box, &QCheckBox::toggled, this, &QualityPanel::recompute);
    recompute();
}

QDate QualityPanel::dateOf(const QDateEdit *edit) const {
    return edit->date() == Open ? QDate() : edit->date();
}

QualityFilter QualityPanel::filter() const {
    QualityFilter f;
    f.hardeningIndex = days_->currentIndex();
    f.grade = grade_->currentData().toInt();
    f.supplier = supplier_->currentData().toInt();
    f.from = dateOf(from_);
    f.to = dateOf(to_);
    f.withHit = activity_->currentIndex() == 0;
    return f;
}

ControlChart::Baseline QualityPanel::baseline() const {
    ControlChart::Baseline b;
    b.kind = ControlChart::Baseline::Kind(baselineKind_->currentIndex());
    b.first = first_->value();
    b.from = dateOf(baseFrom_);
    b.to = dateOf(baseTo_);
    return b;
}

bool QualityPanel::onlyFiltered() const {
    return only_->isChecked();
}

QString QualityPanel::statisticsText() const {
    return statistics_->text();
}

void QualityPanel::setRows(const QVector<ResultsRow> &rows) {
    rows_ = rows;
    if (!daysChosen_) {
        const QSignalBlocker quiet(days_);
        days_->setCurrentIndex(QualityFilter::commonHardeningIndex(rows));
    }
    recompute();
}

void QualityPanel::recompute() {
    const ControlChart::Baseline b = baseline();
    first_->setEnabled(b.kind == ControlChart::Baseline::First);
    baseFrom_->setEnabled(b.kind == ControlChart::Baseline::Dates);
    baseTo_->setEnabled(b.kind == ControlChart::Baseline::Dates);
    statistics_.reset(new QualityStatistics(rows_, filter(), b));
    chart_->setStatistics(*statistics_, warnings_->isChecked());
    coincidence_->setStatistics(*statistics_);
    text_->setPlainText(statistics_->text());
    emit filterChanged();
}
