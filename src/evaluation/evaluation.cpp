#include "evaluation.h"

#include "evaluation/referencetables.h"
#include "records/processp.h"

#include <cmath>
#include <limits>

namespace Evaluation {

const float supplierCorrections[SupplierCount] = {1.1f, 1.2f, 1.3f, 1.4f, 1.5f, 1.6f, 1.7f};

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double NoBrakingFrom = 2.8;
constexpr double SlowBelow = 2.3;
constexpr float FirstHourMl = 1.0f;
constexpr double LowTemperature = 18.0;
constexpr double HighTemperature = 22.0;
constexpr double MlPerDegree = 0.08;
constexpr double NormalMass = 1000.0;
// Grade indices 3..6 (M-400..M-700) can brake.
constexpr quint32 FirstBrakingGrade = 3;
constexpr quint32 LastBrakingGrade = 6;
// An unknown supplier index counts as this correction.
constexpr float UnknownSupplierCorrection = 1.6f;
} // namespace

double contractionMl(const ProcessP &record) {
    if (record.pointCount() == 0)
        return NaN;
    return record.contraction3h() * record.volumeScale();
}

float specificContraction3h(const ProcessP &record) {
    if (record.pointCount() == 0 || record.mass() == 0)
        return float(NaN);
    return float(contractionMl(record) * NormalMass / record.mass());
}

bool lastsThreeHours(const ProcessP &record) {
    return record.duration() > ThreeHours - 1;
}

bool brakingDetected(const ProcessP &record) {
    const quint32 grade = record.grade();
    if (grade < FirstBrakingGrade || grade > LastBrakingGrade)
        return false;
    const float q = specificContraction3h(record);
    if (std::isnan(q) || q >= NoBrakingFrom)
        return false;
    // Contraction of the first hour after the start, per 1000 g of cement.
    const quint32 n = record.pointCount();
    const quint32 a = record.startIndex();
    const quint32 c = qMin(a + OneHour / record.period(), n - 1);
    const qint32 d = qint32(quint32(record.volumeCount(int(c))) - quint32(record.volumeBaseline()) -
                            quint32(record.volumeCount(int(a))));
    const float f = float(NormalMass / record.mass());
    const float p = f * record.volumeScale() * float(d);
    if (p > FirstHourMl)
        return p >= q - p; // the first hour gave at least half of the three hours
    if (q < SlowBelow)
        return true;
    return grade > FirstBrakingGrade;
}

float supplierCorrection(const ProcessP &record) {
    const quint32 supplier = record.supplier();
    return supplier < quint32(SupplierCount) ? supplierCorrections[supplier]
                                             : UnknownSupplierCorrection;
}

double averageTemperature(const ProcessP &record) {
    const quint32 n = record.pointCount();
    if (n == 0)
        return NaN;
    const quint32 s = record.startIndex();
    const quint32 e = qMin(n, s + ThreeHours / record.period());
    // A period above three hours leaves no sample in the window.
    if (e <= s)
        return NaN;
    double sum = 0.0;
    for (quint32 i = s; i < e; ++i)
        sum += record.temperatureCount(int(i));
    return sum / double(e - s) * double(record.temperatureScale());
}

float temperatureCorrection(const ProcessP &record) {
    if (!record.temperatureNotObserved())
        return 0.0f;
    const double t = averageTemperature(record);
    if (t < LowTemperature)
        return float(MlPerDegree * (LowTemperature - t));
    if (t > HighTemperature)
        return float(MlPerDegree * (HighTemperature - t));
    // A temperature that could not be measured leaves the correction unknown.
    return std::isnan(t) ? float(NaN) : 0.0f;
}

double hitFactor(quint8 hitPercent) {
    if (hitPercent < 20 || hitPercent > 200)
        return 1.0;
    return hitPercent / 100.0;
}

QString activityWithHitText(const QString &activityText, double factor, int hardeningIndex) {
    bool ok = false;
    const double activity = activityText.toDouble(&ok);
    if (!ok)
        return activityText;
    const int c = hardeningIndex;
    const float r = float(activity * factor);
    if (!ReferenceTables::isColumn(c) || !std::isfinite(r))
        return QStringLiteral("?");
    const float highest = ReferenceTables::activityTable[ReferenceTables::Rows - 1][c];
    const float lowest = ReferenceTables::activityTable[0][c];
    if (r > highest)
        return QLatin1Char('>') + QString::number(double(highest), 'f', 2);
    if (r < lowest)
        return QLatin1Char('<') + QString::number(double(lowest), 'f', 2);
    return QString::number(double(r), 'f', 2);
}

} // namespace Evaluation
