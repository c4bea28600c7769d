#ifndef CONTROLCHART_H
#define CONTROLCHART_H

#include <QDate>
#include <QPair>
#include <QVector>

// The control chart of individual values with the moving range (one result
// per sample): centre line at the mean of the baseline, control limits at
// the mean +/- 2.66 x the mean moving range of consecutive baseline values,
// warning limits at two thirds of that distance. Marked: points beyond a
// control limit, and runs of nine or more points in a row on one side of the
// centre line (a point on it ends a run).
//
// Values given as a bound of the reference table (">71.1") have no number:
// they take no part in the baseline, the limits or the rules, and are
// counted as left out.
class ControlChart {
public:
    static constexpr double LimitFactor = 2.66;
    static constexpr int RunLength = 9;

    struct Point {
        double value = 0.0;
        int bound = 0; // -1 below the table, +1 above; 0 a number
        QDate date;
        int row = -1; // the caller's: which test it stands for
    };
    // The points the limits come from: all, those started within a date
    // range (open where a date is not valid), or the first N numbers.
    struct Baseline {
        enum Kind { All, Dates, First } kind = All;
        QDate from;
        QDate to;
        int first = 0;
    };

    // points in the order they are drawn (by start).
    ControlChart(const QVector<Point> &points, const Baseline &baseline);

    int baselineCount() const { return baselineCount_; }
    int leftOut() const { return leftOut_; }
    // NaN when the baseline has no value (limits: fewer than two).
    double centre() const { return centre_; }
    double meanMovingRange() const { return movingRange_; }
    double upperLimit() const { return centre_ + LimitFactor * movingRange_; }
    double lowerLimit() const { return centre_ - LimitFactor * movingRange_; }
    double upperWarning() const { return centre_ + 2.0 / 3.0 * LimitFactor * movingRange_; }
    double lowerWarning() const { return centre_ - 2.0 / 3.0 * LimitFactor * movingRange_; }
    // Indices of the points beyond a control limit.
    const QVector<int> &beyond() const { return beyond_; }
    // First and last index of each run of nine or more on one side.
    const QVector<QPair<int, int>> &runs() const { return runs_; }
    // Whether the point is marked by either rule.
    bool marked(int i) const { return marked_.value(i); }

private:
    int baselineCount_ = 0;
    int leftOut_ = 0;
    double centre_;
    double movingRange_;
    QVector<int> beyond_;
    QVector<QPair<int, int>> runs_;
    QVector<bool> marked_;
};

#endif // CONTROLCHART_H
