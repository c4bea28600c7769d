// Time from a click on a four-channel test (kind 3, 4320 points) to all seven
// plot tabs built and painted once: the median over many clicks alternating
// between two tests, offscreen.
//   QT_QPA_PLATFORM=offscreen build-bench/bench/bench_click [clicks]

#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "benchstats.h"
#include "charts/plottabs.h"
#include "curverecord.h"
#include "testsettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <time.h>
#include <vector>

using namespace benchstats;

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    TestSettings settings; // the bench never touches the user's settings
    const int clicks = argc > 1 ? std::max(2, atoi(argv[1])) : 200;

    MainWindow w;
    w.resize(1300, 800);
    QList<ProcessP *> records{testrecords::curveRecord(3, 1, 0.0),
                              testrecords::curveRecord(3, 2, 0.3)};
    for (ProcessP *p : records) {
        w.store().add(p);
        QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, p));
    }
    w.show();
    QApplication::processEvents();
    QTabWidget *tabs = w.plotTabWidget();

    // Each rebuild destroys seven zoom controllers, which say so on stdout.
    std::ostringstream sink;
    std::streambuf *out = std::cout.rdbuf(sink.rdbuf());

    std::vector<double> total, build, cpu;
    QElapsedTimer timer;
    for (int i = -4; i < clicks; ++i) { // four warm-up clicks
        const QModelIndex row = w.processModel()->index((i + 4) % 2, 0);
        timer.start();
        const double cpu0 = threadMs();
        QMetaObject::invokeMethod(&w, "addGraph", Q_ARG(QModelIndex, row));
        const qint64 built = timer.nsecsElapsed();
        // Bring every tab up once and paint it, as looking through them does.
        for (int t = tabs->count() - 1; t >= 0; --t) {
            tabs->setCurrentIndex(t);
            tabs->currentWidget()->repaint();
        }
        const qint64 painted = timer.nsecsElapsed();
        const double cpuUsed = threadMs() - cpu0;
        if (tabs->count() != 7) {
            std::cout.rdbuf(out);
            std::fprintf(stderr, "expected 7 tabs, got %d\n", tabs->count());
            return 1;
        }
        if (i >= 0) {
            build.push_back(built / 1e6);
            total.push_back(painted / 1e6);
            cpu.push_back(cpuUsed);
        }
        sink.str(std::string());
    }
    std::cout.rdbuf(out);

    std::printf("click to 7 tabs built and painted (kind 3, 4320 points), %d clicks:\n", clicks);
    std::printf("  median %.2f ms  (p10 %.2f, p90 %.2f)\n", median(total), percentile(total, 0.1),
                percentile(total, 0.9));
    std::printf("  of which building the tabs: median %.2f ms\n", median(build));
    std::printf("  CPU time of the GUI thread: median %.2f ms\n", median(cpu));
    std::printf("TABLE|Click to all 7 tabs built and painted (4320 points)|median %.1f ms "
                "(p90 %.1f ms)\n",
                median(total), percentile(total, 0.9));
    return 0;
}
