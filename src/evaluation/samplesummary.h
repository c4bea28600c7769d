#ifndef SAMPLESUMMARY_H
#define SAMPLESUMMARY_H

#include <QVector>

// n, mean, sample standard deviation (n - 1), coefficient of variation in
// percent of the mean, minimum and maximum of some values. What cannot be
// worked out from too few values is NaN (the deviation needs two).
class SampleSummary {
public:
    static SampleSummary of(const QVector<double> &values);

    int n = 0;
    double mean;
    double sd;
    double cv;
    double min;
    double max;
};

#endif // SAMPLESUMMARY_H
