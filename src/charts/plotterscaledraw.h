#ifndef PLOTTERSCALEDRAW_H
#define PLOTTERSCALEDRAW_H

#include <qwt_scale_draw.h>

class ProcessP;

// Bottom axis of the test plots: the curves run in point indexes, the labels
// show the elapsed time "hh:mm" of that point (index x period seconds).
// The record's period is kept whole, so every period labels right.
class PlotterScaleDraw : public QwtScaleDraw {
public:
    explicit PlotterScaleDraw(const ProcessP *record);
    // An axis in units of `period` seconds (1: plain seconds). As durations
    // the labels neither wrap at 24 hours nor count back from midnight before
    // 0 ("-00:10", "72:00").
    explicit PlotterScaleDraw(quint32 period, bool durations = false);

    quint32 period() const { return period_; }
    QwtText label(double value) const override;

private:
    quint32 period_;
    bool durations_ = false;
};

#endif // PLOTTERSCALEDRAW_H
