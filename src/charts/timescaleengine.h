#ifndef TIMESCALEENGINE_H
#define TIMESCALEENGINE_H

#include <qwt_scale_engine.h>

// Scale engine of the time axes: the axis runs in units of `secondsPerUnit`
// seconds (a test's period when it counts points, 1 when it counts
// seconds), and its ticks fall on round steps of time: 1, 2, 5, 10, 15 or 30
// minutes, 1, 2, 3, 6, 12 or 24 hours, or whole days, whichever gives at most
// ten labels for the range shown, with minor ticks between. Automatic scales
// end on such steps as well.
class TimeScaleEngine : public QwtLinearScaleEngine {
public:
    explicit TimeScaleEngine(double secondsPerUnit);

    void autoScale(int maxNumSteps, double &x1, double &x2, double &stepSize) const override;
    QwtScaleDiv divideScale(double x1, double x2, int maxMajorSteps, int maxMinorSteps,
                            double stepSize = 0.0) const override;

    // The major step in seconds for a range of `seconds`, and how many minor
    // intervals it is cut into.
    static double stepFor(double seconds, int *minorIntervals = nullptr);

private:
    double secondsPerUnit_;
};

#endif // TIMESCALEENGINE_H
