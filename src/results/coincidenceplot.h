#ifndef COINCIDENCEPLOT_H
#define COINCIDENCEPLOT_H

#include "results/plotpanel.h"

class QualityStatistics;
class QwtPlotCurve;

// The strengths the standard tests measured against the activity R the
// method predicted, with the line y = x: the points lie on it when the
// coincidence coefficient is 1.
class CoincidencePlot : public PlotPanel {
    Q_OBJECT
public:
    explicit CoincidencePlot(QWidget *parent = nullptr);

    void setStatistics(const QualityStatistics &statistics);

    QwtPlotCurve *points() const { return points_; }
    QwtPlotCurve *diagonal() const { return diagonal_; }

private:
    QwtPlotCurve *points_;
    QwtPlotCurve *diagonal_;
};

#endif // COINCIDENCEPLOT_H
