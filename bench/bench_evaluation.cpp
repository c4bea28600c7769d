// Times the full evaluation of a test (every value and text of the results
// table and the protocol) and the table's showProcess, over 255 four-channel
// records of 4320 points.

#include "evaluation/activityevaluation.h"
#include "table/monitor.h"
#include "testrecords.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <memory>
#include <vector>

using namespace testrecords;

namespace {
const int Records = 255;
const int Rounds = 20;

// rising: contraction starts after a few samples; flat: it never starts, so
// every window scan runs over the whole series.
std::vector<std::unique_ptr<ProcessP>> makeRecords(bool rising) {
    std::vector<std::unique_ptr<ProcessP>> records;
    for (int r = 0; r < Records; ++r) {
        HeaderFields s;
        s.second = quint8(r % 60);
        s.minute = quint8(r / 60);
        s.duration = 4320 * 60;
        s.period = 60;
        s.mass = 400 + quint32(r);
        s.grade = quint32(r % 8);
        s.supplier = quint32(r % 7);
        s.hitPercent = quint8(80 + r % 50);
        QByteArray b = samples(3);
        for (int i = 0; i < 4320; ++i) {
            const int v = rising ? (i < 15 ? 0 : 5 + (i - 15) * 120 / (i + 60) + r % 30) : 0;
            setCount(b, 3, 0, i, quint16(v));
            setCount(b, 3, 1, i, quint16(180 + (i * 7 + r) % 60));
            setCount(b, 3, 2, i, quint16(200 + i % 50));
            setCount(b, 3, 3, i, quint16(1000 + i));
        }
        auto p = std::make_unique<ProcessP>(header(s), b, 3);
        p->setHardeningIndex(r % 7);
        records.push_back(std::move(p));
    }
    return records;
}

template <typename F> double microsecondsPerRecord(F run) {
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < Rounds; ++round)
        run();
    return double(timer.nsecsElapsed()) / 1000.0 / Rounds / Records;
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    for (bool rising : {true, false}) {
        const auto records = makeRecords(rising);
        int sink = 0;
        const double evaluation = microsecondsPerRecord([&] {
            for (const auto &p : records) {
                const ActivityEvaluation e(*p);
                sink += e.parameterTexts().size() + e.resultTexts().size();
            }
        });
        Monitor monitor;
        const double table = microsecondsPerRecord([&] {
            for (const auto &p : records) {
                monitor.clearProcess();
                monitor.showProcess(p.get());
            }
        });
        std::printf("%s series, %d records x 4320 points (kind 3), %d rounds:\n",
                    rising ? "rising" : "flat", Records, Rounds);
        std::printf("  evaluation + protocol texts: %.1f us per record (%d texts)\n", evaluation,
                    sink / Rounds / Records);
        std::printf("  Monitor::showProcess:        %.1f us per record\n", table);
        std::printf("TABLE|Evaluation per record, %s series (every table row + protocol texts)|"
                    "%.1f us (table filled: %.1f us)\n",
                    rising ? "rising" : "flat", evaluation, table);
    }
    return 0;
}
