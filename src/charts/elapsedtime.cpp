#include "elapsedtime.h"

#include <QTime>
#include <cmath>

QString elapsedTime(double seconds, const QString &format) {
    double whole = std::isfinite(seconds) ? std::trunc(seconds) : 0.0;
    // Only the time of day is shown, so whole days can go before the value
    // is narrowed; this keeps long periods and far positions exact.
    whole = std::fmod(whole, 86400.0);
    return QTime(0, 0, 0, 0).addSecs(int(whole)).toString(format);
}
