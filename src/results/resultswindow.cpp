#include "resultswindow.h"

#include "evaluation/resultscsv.h"
#include "records/keeperproc.h"
#include "results/activityplot.h"
#include "results/comparisonplot.h"
#include "results/qualitypanel.h"
#include "results/resultsmodel.h"
#include "results/resultssortmodel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

ResultsWindow::ResultsWindow(KeeperProc *store, QAbstractItemModel *processes, QWidget *parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("results"));
    model_ = new ResultsModel(store, processes, this);
    sorted_ = new ResultsSortModel(model_, this);

    table_ = new QTableView;
    table_->setModel(sorted_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    // Only the measured strength is edited in place (the model says which).
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    // Project order until a header is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->setSortingEnabled(true);
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.column() != ResultsModel::MeasuredColumn)
            emit testActivated(sorted_->mapToSource(index).row());
    });

    copyAct_ = new QAction(tr("Copy"), this);
    copyAct_->setShortcut(QKeySequence::Copy);
    copyAct_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copyAct_, &QAction::triggered, this, &ResultsWindow::copySelection);
    exportAct_ = new QAction(tr("Export CSV..."), this);
    connect(exportAct_, &QAction::triggered, this, &ResultsWindow::exportCsv);
    clearAct_ = new QAction(tr("Clear the comparison"), this);
    connect(clearAct_, &QAction::triggered, model_, &ResultsModel::clearCompared);
    table_->addActions({copyAct_, exportAct_, clearAct_});
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *bar = new QToolBar;
    bar->addAction(exportAct_);
    bar->addAction(copyAct_);
    bar->addAction(clearAct_);
    auto *spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    count_ = new QLabel;
    bar->addWidget(count_);

    comparison_ = new ComparisonPlot;
    activity_ = new ActivityPlot;
    tabs_ = new QTabWidget;
    tabs_->addTab(comparison_, tr("Curves side by side"));
    tabs_->addTab(activity_, tr("Activity over time"));
    quality_ = new QualityPanel;
    tabs_->addTab(quality_, tr("Quality control"));
    connect(quality_, &QualityPanel::filterChanged, this,
            [this] { sorted_->setFilter(quality_->filter(), quality_->onlyFiltered()); });
    connect(quality_, &QualityPanel::exportRequested, this, &ResultsWindow::exportStatistics);
    connect(quality_, &QualityPanel::applyRequested, this, &ResultsWindow::applyCoefficient);
    connect(model_, &ResultsModel::strengthEdited, this, &ResultsWindow::strengthEdited);

    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(table_);
    split->addWidget(tabs_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    status_ = new QLabel;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(bar);
    layout->addWidget(split, 1);
    layout->addWidget(status_);

    plotTimer_.setSingleShot(true);
    plotTimer_.setInterval(0);
    connect(&plotTimer_, &QTimer::timeout, this, &ResultsWindow::updatePlots);
    connect(model_, &ResultsModel::comparisonChanged, this, &ResultsWindow::scheduleComparison);
    connect(comparison_, &ComparisonPlot::quantityChanged, this,
            &ResultsWindow::scheduleComparison);
    connect(model_, &ResultsModel::comparisonFull, this, [this]() {
        status_->setText(tr("At most %1 tests can be compared at a time; untick one first.")
                             .arg(ResultsModel::MaxCompared));
    });
    for (auto signal : {&ResultsModel::rowsInserted, &ResultsModel::rowsRemoved})
        connect(model_, signal, this, &ResultsWindow::scheduleActivity);
    connect(model_, &ResultsModel::modelReset, this, &ResultsWindow::scheduleActivity);
    // Another project's rows (Russian dates are longer): the columns fit them.
    connect(model_, &ResultsModel::rowsInserted, this, [this](const QModelIndex &, int, int last) {
        fitDue_ = fitDue_ || model_->rowCount() == last + 1;
    });
    connect(model_, &ResultsModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QVector<int> &roles) {
                if (!roles.contains(Qt::CheckStateRole))
                    scheduleActivity();
            });

    fitColumns();
    resize(1250, 800);
    split->setSizes({400, 380});
    updateCount();
    scheduleActivity();
    updatePlots();
}

QString ResultsWindow::status() const {
    return status_->text();
}

QVector<ResultsRow> ResultsWindow::shownRows(bool selectedOnly) const {
    QVector<ResultsRow> rows;
    const QList<int> shown = sorted_->shownRows();
    for (int r = 0; r < shown.size(); ++r)
        if (!selectedOnly || table_->selectionModel()->isRowSelected(r, QModelIndex()))
            rows.append(model_->row(shown.at(r)));
    return rows;
}

QLocale ResultsWindow::numberLocale() const {
    // Numbers as the main window writes them in its text export.
    return parentWidget() ? parentWidget()->locale() : locale();
}

void ResultsWindow::refresh(int r) {
    model_->refresh(r);
}

void ResultsWindow::copySelection() {
    const QVector<ResultsRow> rows = shownRows(true);
    if (rows.isEmpty())
        return;
    // The fields a spreadsheet pastes into cells, numbers as the locale
    // writes them; quoted where a name holds a tab or a line break.
    QApplication::clipboard()->setText(
        ResultsCsv::text(rows, numberLocale(), QLatin1Char('\t'), QStringLiteral("\n")));
}

bool ResultsWindow::exportCsv() {
    const QString path = choosePath(proposed_, tr("Export CSV"));
    if (path.isEmpty() || !writeChosen(path, ResultsCsv::bytes(shownRows(), numberLocale())))
        return false;
    setProposedFile(path);
    return true;
}

QString ResultsWindow::choosePath(const QString &proposed, const QString &caption) {
    QString path;
    if (chooser_) {
        path = chooser_(proposed);
    } else {
        QFileDialog dialog(this, caption, proposed, tr("CSV files (*.csv)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // The dialog adds the extension and asks before replacing a file.
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    return path;
}

bool ResultsWindow::writeChosen(const QString &path, const QByteArray &bytes) {
    const AtomicSave saved = AtomicSave::write(path, bytes);
    if (!saved.ok()) {
        QMessageBox::critical(this, windowTitle(),
                              tr("The results could not be written to %1:\n%2")
                                  .arg(QDir::toNativeSeparators(path), saved.error));
        return false;
    }
    status_->setText(tr("Written to %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool ResultsWindow::exportStatistics() {
    const QFileInfo beside(proposed_);
    const QString path = choosePath(
        QDir(beside.path())
            .filePath(beside.completeBaseName() + tr(" - statistics") + QStringLiteral(".csv")),
        tr("Export statistics"));
    return !path.isEmpty() && writeChosen(path, quality_->statistics().csv(numberLocale()));
}

bool ResultsWindow::applyCoefficient() {
    const SampleSummary &k = quality_->statistics().coefficient();
    if (k.n == 0) {
        QMessageBox::information(this, windowTitle(),
                                 tr("No test shown has both a measured strength at its duration "
                                    "of hardening and an activity R within the table."));
        return false;
    }
    // As the hit coefficient's editor stores it: two decimals, 0.20 to 2.00.
    const double value = qRound(k.mean * 100.0) / 100.0;
    const QString shown = QString::number(k.mean, 'f', 3);
    if (value < 0.2 || value > 2.0) {
        QMessageBox::warning(this, windowTitle(),
                             tr("K = %1 lies outside the hit coefficient's range 0.20 to 2.00 and "
                                "is not applied.")
                                 .arg(shown));
        return false;
    }
    QList<int> rows;
    for (int r : sorted_->shownRows())
        if (table_->selectionModel()->isRowSelected(
                sorted_->mapFromSource(model_->index(r, 0)).row(), QModelIndex()) &&
            model_->store()->at(r))
            rows << r;
    if (rows.isEmpty()) {
        const QualityFilter filter = quality_->filter();
        for (int r = 0; r < model_->rowCount(); ++r)
            if (filter.accepts(model_->row(r)) && model_->store()->at(r))
                rows << r;
    }
    if (rows.isEmpty())
        return false;
    QStringList names;
    for (int r : rows)
        names << tr("%1 (now %2)")
                     .arg(model_->row(r).label(), model_->row(r).text(ResultsRow::HitCoefficient));
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    tr("Set the hit coefficient of these %1 tests to %2 (K = %3)?")
                        .arg(rows.size())
                        .arg(QString::number(value, 'f', 2), shown),
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    // A long list goes into the details, so that the box fits the screen.
    const int listed = 15;
    QStringList first = names.mid(0, listed);
    if (names.size() > listed)
        first << tr("... and %1 more (Show Details...)").arg(names.size() - listed);
    box.setInformativeText(first.join(QLatin1Char('\n')));
    if (names.size() > listed)
        box.setDetailedText(names.join(QLatin1Char('\n')));
    if (box.exec() != QMessageBox::Yes)
        return false;
    emit hitCoefficientChosen(rows, value);
    return true;
}

void ResultsWindow::scheduleComparison() {
    comparisonDue_ = true;
    plotTimer_.start();
}

void ResultsWindow::scheduleActivity() {
    activityDue_ = true;
    updateCount();
    plotTimer_.start();
}

void ResultsWindow::updateCount() {
    count_->setText(tr("Tests: %1").arg(model_->rowCount()));
}

void ResultsWindow::fitColumns() {
    table_->resizeColumnsToContents();
    // A long name must not push the results out of sight.
    const int name = ResultsModel::FirstResultColumn + ResultsRow::Name;
    table_->setColumnWidth(name, qMin(table_->columnWidth(name), 240));
}

void ResultsWindow::updatePlots() {
    plotTimer_.stop();
    if (fitDue_) {
        fitDue_ = false;
        fitColumns();
    }
    if (comparisonDue_) {
        comparisonDue_ = false;
        QList<ComparisonPlot::Test> tests;
        for (int r : model_->comparedRows())
            tests.append({model_->store()->at(r), model_->row(r).label()});
        comparison_->setTests(tests);
    }
    if (activityDue_) {
        activityDue_ = false;
        QVector<ResultsRow> rows;
        rows.reserve(model_->rowCount());
        for (int r = 0; r < model_->rowCount(); ++r)
            rows.append(model_->row(r));
        activity_->setRows(rows);
        quality_->setRows(rows);
    }
}

void ResultsWindow::setProject(const QString &proposedFile) {
    if (proposedFile == project_)
        return;
    project_ = proposedFile;
    setProposedFile(proposedFile);
    status_->clear();
}

void ResultsWindow::setProposedFile(const QString &path) {
    proposed_ = path;
    const QFileInfo file(path);
    for (int i = 0; i < tabs_->count(); ++i) {
        if (auto *panel = qobject_cast<PlotPanel *>(tabs_->widget(i)))
            panel->setImageTarget(
                {file.path(), file.completeBaseName() + QStringLiteral(" - ") + tabs_->tabText(i)});
    }
}
