#ifndef QUALITYSTATISTICS_H
#define QUALITYSTATISTICS_H

#include "evaluation/controlchart.h"
#include "evaluation/qualityfilter.h"
#include "evaluation/resultsrow.h"
#include "evaluation/samplesummary.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QVector>

class QLocale;

// The laboratory's quality control of a project's tests, worked out once
// here so that the results window, its statistics file and setrovia-cli
// report --stats show the same numbers: the filtered tests in order of their
// start, the control chart of their activity, the statistics of the activity
// and of the specific contraction, and the coincidence coefficient K of the
// measured strengths.
//
// K is the mean of measured / predicted over the shown tests that have both:
// predicted is the activity R as the table shows it. Left out and counted: R
// given as a bound of the table, and a strength measured at another duration
// of hardening than the test's.
class QualityStatistics {
public:
    QualityStatistics(const QVector<ResultsRow> &rows, const QualityFilter &filter,
                      const ControlChart::Baseline &baseline = ControlChart::Baseline());

    const QualityFilter &filter() const { return filter_; }
    const QVector<ResultsRow> &shown() const { return shown_; }
    const ControlChart &chart() const { return chart_; }
    const SampleSummary &activity() const { return activity_; }
    const SampleSummary &contraction() const { return contraction_; }
    int activityBounds() const { return activityBounds_; }
    int contractionBounds() const { return contractionBounds_; }

    const SampleSummary &coefficient() const { return coefficient_; }
    int coefficientBounds() const { return coefficientBounds_; }
    int otherDuration() const { return otherDuration_; }
    // (predicted, measured) of the shown tests K is made of, and their rows
    // among shown().
    const QVector<QPointF> &comparison() const { return comparison_; }
    const QVector<int> &comparisonRows() const { return comparisonRows_; }

    // The point of each shown test on the chart (bounds at their bound).
    const QVector<ControlChart::Point> &points() const { return points_; }

    // Numbers as every view writes them: 2 decimals, K 3; "-" for none.
    static QString number(double value, int decimals = 2);
    // The whole as text (copied to the clipboard, printed by the tool).
    QString text() const;
    // The figures as a file of their own: UTF-8 with a byte-order mark, CR
    // LF, separator and decimals as the locale writes them (ResultsCsv).
    QByteArray csv(const QLocale &locale) const;
    // One JSON object (report --stats --json).
    QByteArray json() const;

private:
    QString filterText() const;

    QualityFilter filter_;
    QVector<ResultsRow> shown_;
    QVector<ControlChart::Point> points_;
    ControlChart chart_;
    SampleSummary activity_;
    SampleSummary contraction_;
    int activityBounds_ = 0;
    int contractionBounds_ = 0;
    SampleSummary coefficient_;
    int coefficientBounds_ = 0;
    int otherDuration_ = 0;
    QVector<QPointF> comparison_;
    QVector<int> comparisonRows_;
};

#endif // QUALITYSTATISTICS_H
