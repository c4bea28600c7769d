#include "controlchart.h"

#include <QtNumeric>
#include <cmath>

ControlChart::ControlChart(const QVector<Point> &points, const Baseline &baseline)
    : centre_(qQNaN()), movingRange_(qQNaN()), marked_(points.size(), false) {
    QVector<double> base;
    for (const Point &p : points) {
        if (p.bound != 0) {
            ++leftOut_;
            continue;
        }
        bool in = true;
        if (baseline.kind == Baseline::First)
            in = base.size() < baseline.first;
        else if (baseline.kind == Baseline::Dates)
            in = (!baseline.from.isValid() || (p.date.isValid() && p.date >= baseline.from)) &&
                 (!baseline.to.isValid() || (p.date.isValid() && p.date <= baseline.to));
        if (in)
            base.append(p.value);
    }
    baselineCount_ = base.size();
    if (base.isEmpty())
        return;
    double sum = 0.0;
    for (double v : base)
        sum += v;
    centre_ = sum / base.size();
    if (base.size() < 2)
        return;
    double ranges = 0.0;
    for (int i = 1; i < base.size(); ++i)
        ranges += std::fabs(base.at(i) - base.at(i - 1));
    movingRange_ = ranges / (base.size() - 1);

    int side = 0, start = -1, length = 0;
    auto endRun = [&](int last) {
        if (length >= RunLength) {
            runs_.append({start, last});
            for (int i = start; i <= last; ++i)
                marked_[i] = marked_[i] || points.at(i).bound == 0;
        }
    };
    int lastNumber = -1;
    for (int i = 0; i < points.size(); ++i) {
        const Point &p = points.at(i);
        if (p.bound != 0)
            continue; // no number: neither counts nor breaks a run
        if (p.value > upperLimit() || p.value < lowerLimit()) {
            beyond_.append(i);
            marked_[i] = true;
        }
        const int s = p.value > centre_ ? 1 : (p.value < centre_ ? -1 : 0);
        if (s != 0 && s == side) {
            ++length;
        } else {
            endRun(lastNumber);
            side = s;
            start = i;
            length = s != 0 ? 1 : 0;
        }
        lastNumber = i;
    }
    endRun(lastNumber);
}
