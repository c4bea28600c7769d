#ifndef EVALUATION_H
#define EVALUATION_H

#include <QString>
#include <QtGlobal>

class ProcessP;

// The steps of the accelerated contraction method for one test, as pure
// functions of the record. ActivityEvaluation composes them into the total
// contraction, the activity and the specific contraction.
//
// A value that cannot be evaluated is returned as NaN (never by dividing by
// zero): a record without samples (period 0 or a duration shorter than one
// period), a cement mass of 0, an empty temperature window.
namespace Evaluation {

constexpr quint32 ThreeHours = 10800; // seconds
constexpr quint32 OneHour = 3600;
constexpr int SupplierCount = 7;

// Braking correction ΔΔV in ml by supplier index.
extern const float supplierCorrections[SupplierCount];

// ΔV(Co3): the raw three-hour contraction in ml.
double contractionMl(const ProcessP &record);
// ΔV1k3: the three-hour contraction per 1000 g of cement (single precision).
float specificContraction3h(const ProcessP &record);
// Whether the recording is long enough for the rest of the evaluation.
bool lastsThreeHours(const ProcessP &record);
// Whether the setting of the cement was retarded. False when ΔV1k3 cannot be
// evaluated.
bool brakingDetected(const ProcessP &record);
// ΔΔV of the record's supplier, whether or not braking applies.
float supplierCorrection(const ProcessP &record);
// Mean ambient temperature over the three hours from the start of contraction.
double averageTemperature(const ProcessP &record);
// Correction for a test temperature outside 18..22 °C; 0 unless the
// temperature-not-observed flag is set.
float temperatureCorrection(const ProcessP &record);
// The hit coefficient stored as a percentage; 1.0 outside 20..200.
double hitFactor(quint8 hitPercent);
// The activity text scaled by the hit coefficient, 2 decimals, kept within the
// column's range ("<"/">" with the bound). A text that is not a number (a
// bound text or "?") is passed through.
QString activityWithHitText(const QString &activityText, double factor, int hardeningIndex);

} // namespace Evaluation

#endif // EVALUATION_H
