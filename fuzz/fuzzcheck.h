#ifndef FUZZCHECK_H
#define FUZZCHECK_H

// What both fuzz targets do with the records they get, and how they stop on a
// broken promise: a crash is what the fuzzer records, so a failed check
// aborts with its condition on standard error.

#include "evaluation/activityevaluation.h"
#include "records/processp.h"
#include "records/textexport.h"

#include <QLocale>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzzcheck {

// Everything the window, the printout and the export compute from one record,
// whatever its header says (period 0, NaN scales, indexes out of range).
inline void useRecord(const ProcessP &record) {
    FUZZ_CHECK(record.kind() <= 3);
    FUZZ_CHECK(record.samples().size() == ProcessP::sampleBytes(record.kind()));
    const quint32 points = record.pointCount();
    FUZZ_CHECK(points <= quint32(ProcessP::channelLength(record.kind())));
    FUZZ_CHECK(points == 0 ? record.startIndex() == 0 : record.startIndex() < points);
    for (int variant = 0; variant < 2; ++variant)
        FUZZ_CHECK(record.volumeSamples(variant).size() == int(points));
    FUZZ_CHECK(record.temperatureSamples(false).size() == int(points));
    if (ProcessP::channelCount(record.kind()) == 4) {
        FUZZ_CHECK(record.temperatureSamples(true).size() == int(points));
        FUZZ_CHECK(record.resistanceSamples().size() == int(points));
    }
    record.startDateTime();
    const ActivityEvaluation evaluation(record);
    FUZZ_CHECK(evaluation.parameterTexts().size() == 6);
    FUZZ_CHECK(evaluation.resultTexts().size() == 11);
    FUZZ_CHECK(TextExport::lines(record, QLocale::c()).size() == int(points) + 1);
}

} // namespace fuzzcheck

#endif // FUZZCHECK_H
