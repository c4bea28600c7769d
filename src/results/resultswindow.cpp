#include "resultswindow.h"

#include "evaluation/resultscsv.h"
#include "records/keeperproc.h"
#include "results/activityplot.h"
#include "results/comparisonplot.h"
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
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Project order until a header is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->setSortingEnabled(true);
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
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
    QString path;
    if (chooser_) {
        path = chooser_(proposed_);
    } else {
        QFileDialog dialog(this, tr("Export CSV"), proposed_, tr("CSV files (*.csv)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // The dialog adds the extension and asks before replacing a file.
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (path.isEmpty())
        return false;
    const AtomicSave saved = ResultsCsv::write(path, shownRows(), numberLocale());
    if (!saved.ok()) {
        QMessageBox::critical(this, windowTitle(),
                              tr("The results could not be written to %1:\n%2")
                                  .arg(QDir::toNativeSeparators(path), saved.error));
        return false;
    }
    setProposedFile(path);
    status_->setText(tr("Written to %1").arg(QDir::toNativeSeparators(path)));
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
