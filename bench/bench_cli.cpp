// The command-line tool on the largest project the format holds: 255 realistic
// four-channel tests. Prints the time of each command run in-process (median
// of warm rounds, after one run that fills the caches), so that a nightly
// report of a full project is seen to cost little next to starting the
// program; scripts/bench times the tool as a process beside its --help.

#include "benchstats.h"
#include "cli/commandline.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "simulator/testgenerator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {
const int Rounds = 7;

// Runs the command once, then Rounds times; returns the median time in ms and
// the length of its output.
double medianMs(const QStringList &args, int *outputChars) {
    std::vector<double> times;
    for (int i = 0; i <= Rounds; ++i) {
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        CommandLine commandLine(out, err);
        QElapsedTimer t;
        t.start();
        const int status = commandLine.run(args);
        if (i > 0)
            times.push_back(t.nsecsElapsed() / 1e6);
        *outputChars = outText.size();
        if (status != 0)
            std::fprintf(stderr, "%s: exit %d: %s\n", qPrintable(args.join(' ')), status,
                         qPrintable(errText));
    }
    return benchstats::median(times);
}
} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("full.vtl");
    KeeperProc store;
    for (const InstrumentTest &t : TestGenerator::tests(2, KeeperProc::MaxRecords, 7))
        store.add(new ProcessP(t.header, t.samples, t.kind));
    if (!ProjectFile::save(path, store, QStringLiteral("Benchmark"), QStringList()).ok())
        return 1;
    std::printf("project: %d tests of kind 2, %lld bytes\n", store.count(),
                static_cast<long long>(QFileInfo(path).size()));

    int chars = 0;
    const double json = medianMs({"report", path, "--json"}, &chars);
    std::printf("report --json, 255 tests   %8.1f ms  (%.2f ms per test, %d characters)\n", json,
                json / store.count(), chars);
    const double text = medianMs({"report", path}, &chars);
    std::printf("report, 255 tests          %8.1f ms  (%d characters)\n", text, chars);
    const double txt =
        medianMs({"export", path, "--test", "254", "--output", dir.filePath("t.txt")}, &chars);
    std::printf("export of one test         %8.1f ms\n", txt);
    const double pdf =
        medianMs({"protocol", path, "--test", "254", "--pdf", dir.filePath("t.pdf")}, &chars);
    std::printf("protocol of one test       %8.1f ms\n", pdf);
    return 0;
}
