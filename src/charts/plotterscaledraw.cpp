#include "plotterscaledraw.h"

#include "charts/elapsedtime.h"
#include "records/processp.h"

#include <cmath>

PlotterScaleDraw::PlotterScaleDraw(const ProcessP *record)
    : period_(record ? record->period() : 0) {}

PlotterScaleDraw::PlotterScaleDraw(quint32 period, bool durations)
    : period_(period), durations_(durations) {}

QwtText PlotterScaleDraw::label(double value) const {
    // Ticks fall on round times, but in points: 1800 s / 21 s * 21 s comes
    // back as 1799.9999999999998 s, which the truncating clock would show a
    // minute short. Snapped to the whole second, the tick reads its own time.
    const double seconds = std::round(value * double(period_));
    return QwtText(durations_ ? elapsedDuration(seconds, false)
                              : elapsedTime(seconds, QStringLiteral("hh:mm")));
}
