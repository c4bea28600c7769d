// The results overview of the largest project the format holds: 255
// four-channel tests of 4320 points with realistic curves. Three figures,
// medians over many rounds, offscreen:
// - opening the window: the table filled, the window and its plots painted;
// - one mass edit in the parameters table, until the row shows it;
// - twelve tests compared: their curves built and painted;
// - the quality control after a change of filter: statistics, control chart
//   and coincidence plot worked out and painted (goal: one 60 Hz frame).
//   QT_QPA_PLATFORM=offscreen build-bench/bench/bench_results [rounds]

#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "benchstats.h"
#include "curverecord.h"
#include "records/projectfile.h"
#include "results/comparisonplot.h"
#include "results/qualitypanel.h"
#include "results/resultsmodel.h"
#include "results/resultswindow.h"
#include "table/monitor.h"
#include "testsettings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <qwt_plot.h>
#include <sstream>
#include <time.h>
#include <vector>

using namespace benchstats;

namespace {
// 255 tests that differ in start, curve and mass, so that the overview
// holds numbers, bounds and different activities.
void buildProject(const QString &path) {
    KeeperProc store;
    QStringList names;
    for (int t = 0; t < 255; ++t) {
        std::unique_ptr<ProcessP> curve(testrecords::curveRecord(3, 0, 0.01 * (t % 40)));
        QByteArray header = curve->header();
        header[3] = char(1 + t % 28); // day
        header[4] = char(1 + t / 28); // month
        header[2] = char(8 + t % 9);  // hour
        testrecords::putU32(header.data(), ProcessP::OffMass, quint32(300 + 5 * (t % 50)));
        store.add(new ProcessP(header, curve->samples(), 3));
        names << QStringLiteral("Партия %1").arg(t);
    }
    if (!ProjectFile::save(path, store, QStringLiteral("Benchmark"), names).ok())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// Wall and CPU time of one round, in ms.
struct Round {
    QElapsedTimer wall;
    double cpu0 = 0;
    void start() {
        wall.start();
        cpu0 = threadMs();
    }
    void stop(std::vector<double> &walls, std::vector<double> &cpus) const {
        walls.push_back(wall.nsecsElapsed() / 1e6);
        cpus.push_back(threadMs() - cpu0);
    }
};

void report(const char *measure, const std::vector<double> &wall, const std::vector<double> &cpu) {
    std::printf("  %s: median %.2f ms (p10 %.2f, p90 %.2f); CPU of the GUI thread %.2f ms\n",
                measure, median(wall), percentile(wall, 0.1), percentile(wall, 0.9), median(cpu));
    std::printf("TABLE|%s|median %.1f ms (p90 %.1f ms; CPU %.1f ms)\n", measure, median(wall),
                percentile(wall, 0.9), median(cpu));
}
} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestSettings settings;
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 30;
    QTemporaryDir dir;
    const QString path = dir.filePath("results.vtl");
    buildProject(path);

    MainWindow w;
    w.resize(1300, 800);
    w.show();
    if (!w.openProjectFile(path) || w.processModel()->rowCount() != 255) {
        std::fprintf(stderr, "the project did not open\n");
        return 1;
    }
    QApplication::processEvents();
    // Plots that go say so on stdout.
    std::ostringstream sink;
    std::streambuf *out = std::cout.rdbuf(sink.rdbuf());

    std::vector<double> open, openCpu, edit, editCpu, compare, compareCpu;
    Round round;
    for (int i = -2; i < rounds; ++i) { // two warm-up rounds
        round.start();
        w.resultsAction()->trigger();
        ResultsWindow *r = w.resultsWindow();
        r->updatePlots();
        r->repaint();
        if (i >= 0)
            round.stop(open, openCpu);
        if (r->results()->rowCount() != 255)
            return 1;
        delete r;
        sink.str(std::string());
    }

    w.resultsAction()->trigger();
    ResultsWindow *r = w.resultsWindow();
    r->updatePlots();
    QApplication::processEvents();
    QMetaObject::invokeMethod(&w, "addGraph", Q_ARG(QModelIndex, w.processModel()->index(100, 0)));
    for (int i = -2; i < rounds; ++i) {
        const int mass = 400 + (i & 1) * 100;
        round.start();
        w.monitor()->changedMassa(mass);
        r->updatePlots();
        r->table()->viewport()->repaint();
        if (i >= 0)
            round.stop(edit, editCpu);
        if (r->results()->row(100).text(ResultsRow::Mass) != QString::number(mass))
            return 1;
    }

    for (int row = 0; row < ResultsModel::MaxCompared; ++row)
        r->results()->setData(r->results()->index(row * 20, ResultsModel::CompareColumn),
                              Qt::Checked, Qt::CheckStateRole);
    for (int i = -2; i < rounds; ++i) {
        round.start();
        r->comparison()->setQuantity(i & 1 ? AlignedCurve::Resistance : AlignedCurve::Volume);
        r->updatePlots();
        r->comparison()->plot()->repaint();
        if (i >= 0)
            round.stop(compare, compareCpu);
        if (r->comparison()->plot()->itemList(QwtPlotItem::Rtti_PlotCurve).size() != 12)
            return 1;
    }

    // Measured strengths on every fifth test, so that K has points too.
    for (int row = 0; row < 255; row += 5)
        r->results()->setData(r->results()->index(row, ResultsModel::MeasuredColumn),
                              QString::number(30 + row % 17));
    r->updatePlots();
    QualityPanel *q = r->quality();
    r->plotTabs()->setCurrentWidget(q);
    QApplication::processEvents();
    std::vector<double> quality, qualityCpu;
    for (int i = -2; i < rounds; ++i) {
        round.start();
        q->activityBox()->setCurrentIndex(i & 1); // every figure again
        q->repaint();
        if (i >= 0)
            round.stop(quality, qualityCpu);
        if (q->statistics().shown().size() != 255)
            return 1;
    }
    std::cout.rdbuf(out);

    std::printf("255 tests of kind 3, 4320 points each, %d rounds:\n", rounds);
    report("Results of all tests opened on 255 tests (table filled, window painted)", open,
           openCpu);
    report("One mass edit shown in the results row", edit, editCpu);
    report("12 four-channel curves (4320 points each) compared, built and painted", compare,
           compareCpu);
    report("Quality control of 255 tests after a filter change (statistics, control chart, K; "
           "computed and painted)",
           quality, qualityCpu);
    return 0;
}
