#include "plotaxes.h"

#include "charts/numberscaledraw.h"
#include "charts/plotterscaledraw.h"
#include "charts/timescaleengine.h"

#include <qwt_plot.h>

void PlotAxes::dress(QwtPlot *plot, quint32 secondsPerUnit, bool durations) {
    plot->setAxisScaleDraw(QwtPlot::xBottom, new PlotterScaleDraw(secondsPerUnit, durations));
    plot->setAxisScaleEngine(QwtPlot::xBottom, new TimeScaleEngine(secondsPerUnit));
    plot->setAxisScaleDraw(QwtPlot::yLeft, new NumberScaleDraw);
    plot->setAxisScaleDraw(QwtPlot::yRight, new NumberScaleDraw);
}
