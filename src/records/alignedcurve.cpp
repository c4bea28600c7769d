#include "alignedcurve.h"

#include "processp.h"

#include <cmath>

QVector<QPointF> AlignedCurve::points(const ProcessP &record, Quantity quantity, Exclusion *why) {
    Exclusion reason = Included;
    if (record.pointCount() == 0)
        reason = NoPoints;
    else if (quantity == ReducedVolume && record.mass() == 0)
        reason = NoMass;
    else if ((quantity == CementTemperature || quantity == Resistance) &&
             ProcessP::channelCount(record.kind()) < 4)
        reason = TwoChannels;
    QVector<QPointF> raw;
    if (reason == Included) {
        switch (quantity) {
        case Volume:
        case ReducedVolume:
            raw = record.volumeSamples(quantity == Volume ? 0 : 1);
            break;
        case CementTemperature:
            raw = record.temperatureSamples(true);
            break;
        default:
            raw = record.resistanceSamples();
            break;
        }
    }
    const double start = record.startIndex();
    const double period = record.period();
    QVector<QPointF> aligned;
    aligned.reserve(raw.size());
    for (const QPointF &p : qAsConst(raw))
        if (std::isfinite(p.y()))
            aligned.append(QPointF((p.x() - start) * period, p.y()));
    if (reason == Included && aligned.isEmpty())
        reason = NoPoints;
    if (why)
        *why = reason;
    return aligned;
}
