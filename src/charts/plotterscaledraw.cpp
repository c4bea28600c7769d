#include "plotterscaledraw.h"

#include "charts/elapsedtime.h"
#include "records/processp.h"

PlotterScaleDraw::PlotterScaleDraw(const ProcessP *record)
    : period_(record ? record->period() : 0) {}

PlotterScaleDraw::PlotterScaleDraw(quint32 period, bool durations)
    : period_(period), durations_(durations) {}

QwtText PlotterScaleDraw::label(double value) const {
    const double seconds = value * double(period_);
    return QwtText(durations_ ? elapsedDuration(seconds, false)
                              : elapsedTime(seconds, QStringLiteral("hh:mm")));
}
