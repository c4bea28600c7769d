#include "elapsedtime.h"

#include "evaluation/activityevaluation.h"

#include <QTime>
#include <cmath>

QString elapsedTime(double seconds, const QString &format) {
    double whole = std::isfinite(seconds) ? std::trunc(seconds) : 0.0;
    // Only the time of day is shown, so whole days can go before the value
    // is narrowed; this keeps long periods and far positions exact.
    whole = std::fmod(whole, 86400.0);
    return QTime(0, 0, 0, 0).addSecs(int(whole)).toString(format);
}

QString elapsedDuration(double seconds, bool withSeconds) {
    const double whole = std::isfinite(seconds) ? std::trunc(seconds) : 0.0;
    // Beyond a century of seconds nothing is a test any more.
    const quint32 length = quint32(qMin(std::fabs(whole), 3.0e9));
    QString text = ActivityEvaluation::durationText(length);
    if (withSeconds)
        text += QStringLiteral(":%1").arg(length % 60, 2, 10, QLatin1Char('0'));
    return whole < 0.0 ? QLatin1Char('-') + text : text;
}
