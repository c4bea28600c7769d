#ifndef ALIGNEDCURVE_H
#define ALIGNEDCURVE_H

#include <QPointF>
#include <QVector>

class ProcessP;

// One curve of a test laid on a common time axis with other tests' curves:
// x is the time in seconds from the test's start of measurement (its start
// index), so curves of tests that started to contract at different moments
// line up; points before the start lie at negative times.
class AlignedCurve {
public:
    enum Quantity { Volume, ReducedVolume, CementTemperature, Resistance, QuantityCount };
    // Why a test's curve of a quantity cannot be drawn.
    enum Exclusion {
        Included,
        NoPoints,   // period 0, or shorter than one period
        NoMass,     // reduced volume of a test with mass 0
        TwoChannels // cement temperature or resistance of a two-channel test
    };

    // The points of the quantity (y as the plot tabs show it); points whose
    // value is not a finite number (damaged scales) are left out. Empty, and
    // *why says why, when the test has no such curve.
    static QVector<QPointF> points(const ProcessP &record, Quantity quantity,
                                   Exclusion *why = nullptr);
};

#endif // ALIGNEDCURVE_H
