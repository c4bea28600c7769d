#ifndef CONTROLCHARTPLOT_H
#define CONTROLCHARTPLOT_H

#include "results/plotpanel.h"

class QualityStatistics;
class QwtPlotCurve;
class QwtPlotMarker;

// The control chart of the filtered tests' activity against their start:
// filled markers for numbers, open ones at the bound for values beyond the
// table, a red ring round each point a rule marks; the centre line, the
// control limits and, when asked, the warning limits.
class ControlChartPlot : public PlotPanel {
    Q_OBJECT
public:
    enum Series { Values, Bounds, Marked, SeriesCount };
    enum Line { Centre, UpperLimit, LowerLimit, UpperWarning, LowerWarning, LineCount };

    explicit ControlChartPlot(QWidget *parent = nullptr);

    void setStatistics(const QualityStatistics &statistics, bool warnings);

    QwtPlotCurve *series(Series s) const { return series_[s]; }
    // A line is hidden when it has no value (or the warning limits are off).
    QwtPlotMarker *line(Line l) const { return lines_[l]; }

private:
    QwtPlotCurve *series_[SeriesCount];
    QwtPlotMarker *lines_[LineCount];
};

#endif // CONTROLCHARTPLOT_H
