#ifndef PLOTAXES_H
#define PLOTAXES_H

#include <QtGlobal>

class QwtPlot;

// The axes every time plot shares, in the window and on the printed page: a
// bottom axis of elapsed time ("hh:mm" labels at round steps) and value axes
// written with a point.
class PlotAxes {
public:
    // secondsPerUnit: the bottom axis runs in points of this period (a
    // test's period), or in seconds (1). durations: its labels are lengths
    // of time ("-00:10", "48:00") rather than a clock (PlotterScaleDraw).
    static void dress(QwtPlot *plot, quint32 secondsPerUnit, bool durations = false);
};

#endif // PLOTAXES_H
