// A laboratory PC keeps the program open for days. In one process, one
// window: the simulated instrument read 200 times (the same tests again, the
// project closed without saving every 20 reads), then the 255-test project
// opened and closed 500 times with a click on a test each time. Resident
// memory after the warm-up (the first 20 reads and 10 opens) and at the end,
// open file descriptors before and after. Exits with 1 when memory grew by
// more than 1 MB after the warm-up or a descriptor leaked.
//   QT_QPA_PLATFORM=offscreen build-bench/bench/bench_soak [PROJECT.vtl]

#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "largeproject.h"
#include "modalanswer.h"
#include "testsettings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <malloc.h>
#include <unistd.h>

using namespace testrecords;

namespace {
const int Reads = 200;
const int ReadsPerProject = 20;
const int Opens = 500;
const int WarmUpOpens = 10;
const qint64 AllowedGrowthKb = 1024;

int openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

// Runs the event loop until the condition holds (a bench, not a test: a
// generous bound only against a hang).
bool waitFor(const std::function<bool()> &done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 600000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

// The offscreen platform says this for every window shown (each question).
QtMessageHandler standardHandler = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    if (standardHandler)
        standardHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

// What is left to delete later, deleted; freed heap given back.
qint64 settledRssKb() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    malloc_trim(0);
    return statusKb("VmRSS:");
}
} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    standardHandler = qInstallMessageHandler(quietPlatform);
    TestSettings settings; // never the user's settings, recent list or recovery files
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QTemporaryDir dir;
    const QString project = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath("big.vtl");
    if (!QFileInfo::exists(project) && !writeLargeProject(project))
        return 1;

    // The reader's and the zoom controllers' diagnostic lines (thousands of
    // them) go nowhere while the soak runs.
    std::fflush(stdout);
    std::cout.flush();
    const int standardOutput = dup(STDOUT_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY);
    dup2(nowhere, STDOUT_FILENO);

    const int descriptorsAtStart = openDescriptors();
    qputenv("SETROVIA_SIMULATOR", "generation=newer;tests=20");
    auto *window = new MainWindow;
    qunsetenv("SETROVIA_SIMULATOR");
    MainWindow &w = *window;
    w.setTitle(QStringLiteral("Setrovia+"));
    w.resize(1300, 800);
    w.show();

    int read = 0, opened = 0;
    bool ok = true;
    // What the program's event loop does between two commands of the user:
    // objects let go with deleteLater() are deleted.
    auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };
    auto readOnce = [&] {
        ok = ok && waitFor([&] { return w.readAction()->isEnabled(); });
        w.readAction()->trigger();
        ok = ok && waitFor([&] { return !w.isReading(); });
        if (++read % ReadsPerProject == 0) {
            ok = ok && w.store().count() == 20;
            answerNextMessageBox(QMessageBox::No); // the save prompt
            w.closeAction()->trigger();
            ok = ok && w.store().count() == 0;
        }
        settle();
    };
    auto openOnce = [&] {
        ok = ok && w.openProjectFile(project);
        QMetaObject::invokeMethod(&w, "addGraph",
                                  Q_ARG(QModelIndex, w.processModel()->index(opened % 255, 0)));
        QCoreApplication::processEvents(); // painted
        w.closeAction()->trigger();
        ok = ok && w.store().count() == 0;
        ++opened;
        settle();
    };

    QElapsedTimer clock;
    clock.start();
    while (read < ReadsPerProject)
        readOnce();
    while (opened < WarmUpOpens)
        openOnce();
    const qint64 warm = settledRssKb();
    const int descriptorsWarm = openDescriptors();
    while (read < Reads)
        readOnce();
    while (opened < Opens)
        openOnce();
    const qint64 end = settledRssKb();
    const int descriptorsEnd = openDescriptors();
    const double seconds = clock.elapsed() / 1000.0;
    delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int descriptorsAfter = openDescriptors();
    std::fflush(stdout);
    std::cout.flush();
    dup2(standardOutput, STDOUT_FILENO);
    close(standardOutput);
    close(nowhere);

    const qint64 growth = end - warm;
    const bool memoryOk = growth <= AllowedGrowthKb;
    const bool descriptorsOk =
        descriptorsEnd == descriptorsWarm && descriptorsAfter == descriptorsAtStart;
    std::printf("soak: %d reads of 20 tests (closed every %d), %d opens of the 255-test project, "
                "%.0f s%s\n",
                read, ReadsPerProject, opened, seconds, ok ? "" : "  STEPS FAILED");
    std::printf("  resident memory after warm-up %lld kB, at the end %lld kB (%+lld kB)%s\n",
                static_cast<long long>(warm), static_cast<long long>(end),
                static_cast<long long>(growth), memoryOk ? "" : "  GREW MORE THAN 1 MB");
    std::printf("  open descriptors: %d at start, %d after warm-up, %d at the end, %d with the "
                "window gone%s\n",
                descriptorsAtStart, descriptorsWarm, descriptorsEnd, descriptorsAfter,
                descriptorsOk ? "" : "  LEAKED");
    std::printf("TABLE|Soak: 200 reads, 500 opens of the 255-test project, one window|"
                "RSS %lld kB after warm-up, %lld kB at the end (%+lld kB); descriptors %d before, "
                "%d after\n",
                static_cast<long long>(warm), static_cast<long long>(end),
                static_cast<long long>(growth), descriptorsAtStart, descriptorsAfter);
    return ok && memoryOk && descriptorsOk ? 0 : 1;
}
