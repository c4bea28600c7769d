#include "samplesummary.h"

#include <QtNumeric>
#include <algorithm>
#include <cmath>

SampleSummary SampleSummary::of(const QVector<double> &values) {
    SampleSummary s;
    s.n = values.size();
    s.mean = s.sd = s.cv = s.min = s.max = qQNaN();
    if (values.isEmpty())
        return s;
    double sum = 0.0;
    for (double v : values)
        sum += v;
    s.mean = sum / s.n;
    s.min = *std::min_element(values.begin(), values.end());
    s.max = *std::max_element(values.begin(), values.end());
    if (s.n < 2)
        return s;
    double squares = 0.0;
    for (double v : values)
        squares += (v - s.mean) * (v - s.mean);
    s.sd = std::sqrt(squares / (s.n - 1));
    s.cv = s.mean != 0.0 ? 100.0 * s.sd / s.mean : qQNaN();
    return s;
}
