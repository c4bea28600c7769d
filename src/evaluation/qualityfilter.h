#ifndef QUALITYFILTER_H
#define QUALITYFILTER_H

#include "evaluation/resultsrow.h"

#include <QDate>
#include <QVector>

// Which tests the quality control looks at: one duration of hardening at a
// time, a cement grade and a supplier correction (or any), a range of start
// dates (open where a date is not valid), and which activity it takes: the
// one with the hit coefficient, the number the laboratory reports, or R.
class QualityFilter {
public:
    int hardeningIndex = 2;
    int grade = -1;    // grade index, 7 for unknown; -1 any
    int supplier = -1; // supplier index; -1 any
    QDate from;
    QDate to;
    bool withHit = true;

    bool accepts(const ResultsRow &row) const;
    // The accepted rows in order of their start (undated ones last, in the
    // order given).
    QVector<ResultsRow> apply(const QVector<ResultsRow> &rows) const;
    // The column of the activity it takes.
    int activityColumn() const;
    // The hardening index most rows use (the smaller one of a tie); 2 (28
    // days) when there are none.
    static int commonHardeningIndex(const QVector<ResultsRow> &rows);
};

#endif // QUALITYFILTER_H
