#include "timescaleengine.h"

#include <qwt_scale_div.h>

#include <cmath>

namespace {
struct Step {
    double seconds;
    int minor; // minor intervals in one step
};

const Step Steps[] = {{60, 4},     {120, 4},     {300, 5},      {600, 5},    {900, 3},
                      {1800, 3},   {3600, 4},    {7200, 4},     {10800, 3},  {21600, 6},
                      {43200, 4},  {86400, 4},   {172800, 2},   {259200, 3}, {432000, 5},
                      {604800, 7}, {864000, 10}, {1209600, 14}, {2592000, 6}};

// More than this many steps over the range would crowd the axis.
const int MaxSteps = 9;
} // namespace

TimeScaleEngine::TimeScaleEngine(double secondsPerUnit)
    : secondsPerUnit_(secondsPerUnit > 0 ? secondsPerUnit : 1.0) {}

double TimeScaleEngine::stepFor(double seconds, int *minorIntervals) {
    const double span = std::fabs(seconds);
    for (const Step &step : Steps) {
        if (span / step.seconds <= MaxSteps) {
            if (minorIntervals)
                *minorIntervals = step.minor;
            return step.seconds;
        }
    }
    // Beyond a month: whole months of thirty days.
    const Step &last = Steps[sizeof Steps / sizeof Steps[0] - 1];
    if (minorIntervals)
        *minorIntervals = last.minor;
    return last.seconds * std::ceil(span / last.seconds / MaxSteps);
}

void TimeScaleEngine::autoScale(int maxNumSteps, double &x1, double &x2, double &stepSize) const {
    if (!std::isfinite(x1) || !std::isfinite(x2) || x1 == x2) {
        QwtLinearScaleEngine::autoScale(maxNumSteps, x1, x2, stepSize);
        return;
    }
    if (x1 > x2)
        std::swap(x1, x2);
    const double step = stepFor((x2 - x1) * secondsPerUnit_) / secondsPerUnit_;
    // Floating: the scale ends at the data, the ticks still fall on steps
    // (a few minutes before a start should not cost half a day of axis).
    if (!testAttribute(QwtScaleEngine::Floating)) {
        x1 = std::floor(x1 / step) * step;
        x2 = std::ceil(x2 / step) * step;
    }
    stepSize = step;
}

QwtScaleDiv TimeScaleEngine::divideScale(double x1, double x2, int maxMajorSteps, int maxMinorSteps,
                                         double stepSize) const {
    const double lo = std::fmin(x1, x2);
    const double hi = std::fmax(x1, x2);
    if (!std::isfinite(lo) || !std::isfinite(hi) || lo == hi)
        return QwtLinearScaleEngine::divideScale(x1, x2, maxMajorSteps, maxMinorSteps, stepSize);
    int minor = 1;
    const double step = stepFor((hi - lo) * secondsPerUnit_, &minor) / secondsPerUnit_;
    // Ticks a hair outside the range (rounding) still count as on it.
    const double slack = step * 1e-9;
    QList<double> ticks[QwtScaleDiv::NTickTypes];
    const double firstMinor = std::ceil((lo - slack) / (step / minor));
    // Bounded: the step keeps the ticks to a few dozen, unless the numbers
    // are too large for a step to change them at all.
    for (double i = firstMinor; i < firstMinor + 64 * (MaxSteps + 2); ++i) {
        const double at = i * step / minor;
        if (at > hi + slack)
            break;
        if (std::fmod(i, minor) == 0)
            ticks[QwtScaleDiv::MajorTick] << at;
        else
            ticks[QwtScaleDiv::MinorTick] << at;
    }
    QwtScaleDiv div(lo, hi, ticks);
    if (x1 > x2)
        div.invert();
    return div;
}
