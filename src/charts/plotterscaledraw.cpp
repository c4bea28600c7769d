#include "plotterscaledraw.h"

#include "charts/elapsedtime.h"
#include "records/processp.h"

PlotterScaleDraw::PlotterScaleDraw(const ProcessP *record)
    : period_(record ? record->period() : 0) {}

PlotterScaleDraw::PlotterScaleDraw(quint32 period) : period_(period) {}

QwtText PlotterScaleDraw::label(double value) const {
    return QwtText(elapsedTime(value * double(period_), QStringLiteral("hh:mm")));
}
