#ifndef ACTIVITYPLOT_H
#define ACTIVITYPLOT_H

#include "evaluation/resultsrow.h"
#include "results/plotpanel.h"

#include <QVector>

class ActivityPicker;
class QwtPlotCurve;

// Activity R and activity with hit coefficient of every test against its
// start date: a filled marker where the value is a number, an open one at
// the table's bound where it lies beyond the table (">71.1"); no marker for
// "?". Hovering a marker names the test, its start and the value.
class ActivityPlot : public PlotPanel {
    Q_OBJECT
public:
    // The four series: numbers and bounds of each activity.
    enum Series { Activity, ActivityBound, WithHit, WithHitBound, SeriesCount };

    explicit ActivityPlot(QWidget *parent = nullptr);

    // Draws the rows' activities (copies are kept for the hover texts).
    void setRows(const QVector<ResultsRow> &rows);

    QwtPlotCurve *series(Series s) const { return series_[s]; }
    ActivityPicker *picker() const { return picker_; }
    // The start dates on the x axis, numeric in every language and locale.
    static void setDateAxis(QwtPlot *plot);

private:
    QwtPlotCurve *series_[SeriesCount];
    ActivityPicker *picker_;
};

#endif // ACTIVITYPLOT_H
