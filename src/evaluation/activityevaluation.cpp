#include "activityevaluation.h"

#include "evaluation/evaluation.h"
#include "evaluation/referencetables.h"
#include "records/processp.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const QString Unknown = QStringLiteral("?");
constexpr quint32 LastGrade = 6; // M-700
} // namespace

ActivityEvaluation::ActivityEvaluation(const ProcessP &record)
    : mass_(record.mass()), duration_(record.duration()), period_(record.period()),
      grade_(record.grade()), hardeningIndex_(record.hardeningIndex()),
      brakingRecord_(record.brakingRecord()),
      temperatureNotObserved_(record.temperatureNotObserved()),
      evaluated_(Evaluation::lastsThreeHours(record) && record.pointCount() > 0),
      contractionMl_(Evaluation::contractionMl(record)),
      specific3h_(Evaluation::specificContraction3h(record)),
      supplierCorrection_(Evaluation::supplierCorrection(record)), averageTemperature_(NaN),
      total_(float(NaN)), hitFactor_(Evaluation::hitFactor(record.hitPercent())),
      activity_(Unknown), activityWithHit_(Unknown), specificContraction_(Unknown) {
    if (!evaluated_)
        return;
    brakingKnown_ = std::isfinite(specific3h_);
    braking_ = brakingKnown_ && Evaluation::brakingDetected(record);
    if (brakingRecord_)
        brakingCorrection_ = !brakingKnown_ ? float(NaN) : braking_ ? supplierCorrection_ : 0.0f;
    averageTemperature_ = Evaluation::averageTemperature(record);
    temperatureCorrection_ = Evaluation::temperatureCorrection(record);
    total_ = brakingCorrection_ + specific3h_ + temperatureCorrection_;
    // An infinite total would read as a table bound; it only comes from
    // damaged scales and means nothing.
    if (!std::isfinite(total_))
        return;
    activity_ = ReferenceTables::lookupActivity(total_, hardeningIndex_);
    activityWithHit_ = Evaluation::activityWithHitText(activity_, hitFactor_, hardeningIndex_);
    specificContraction_ = ReferenceTables::lookupSpecificContraction(total_, hardeningIndex_);
}

QString ActivityEvaluation::numberText(double value) {
    return std::isfinite(value) ? QString::number(value, 'f', 2) : Unknown;
}

QString ActivityEvaluation::massText() const {
    return QString::number(mass_);
}

QString ActivityEvaluation::durationText(quint32 seconds) {
    // A length of time, not a time of day: a day-long test lasts "24:00".
    return QStringLiteral("%1:%2")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'));
}

QString ActivityEvaluation::durationText() const {
    return durationText(duration_);
}

QString ActivityEvaluation::periodText() const {
    return QString::number(period_);
}

QString ActivityEvaluation::gradeText(const QString &unknown) const {
    if (grade_ > LastGrade)
        return unknown;
    return QStringLiteral("M-%1").arg((grade_ + 1) * 100);
}

QString ActivityEvaluation::supplierText() const {
    return QString::number(double(supplierCorrection_), 'g', 6);
}

QString ActivityEvaluation::hardeningDaysText() const {
    return ReferenceTables::hardeningDaysText(hardeningIndex_);
}

QString ActivityEvaluation::contractionMlText() const {
    return numberText(contractionMl_);
}

QString ActivityEvaluation::specificContraction3hText() const {
    return numberText(double(specific3h_));
}

QString ActivityEvaluation::brakingText(const QString &yes, const QString &no) const {
    if (!evaluated_ || !brakingKnown_)
        return Unknown;
    return braking_ ? yes : no;
}

QString ActivityEvaluation::brakingCorrectionText() const {
    return evaluated_ ? numberText(double(brakingCorrection_)) : Unknown;
}

QString ActivityEvaluation::averageTemperatureText() const {
    return numberText(averageTemperature_);
}

QString ActivityEvaluation::temperatureCorrectionText() const {
    return evaluated_ ? numberText(double(temperatureCorrection_)) : Unknown;
}

QString ActivityEvaluation::totalText() const {
    return numberText(double(total_));
}

QString ActivityEvaluation::activityText() const {
    return activity_;
}

QString ActivityEvaluation::hitFactorText() const {
    return evaluated_ ? numberText(hitFactor_) : Unknown;
}

QString ActivityEvaluation::activityWithHitText() const {
    return activityWithHit_;
}

QString ActivityEvaluation::specificContractionText() const {
    return specificContraction_;
}

QStringList ActivityEvaluation::parameterTexts() const {
    return {massText(),     durationText(),
            periodText(),   gradeText(QCoreApplication::translate("QObject", "Unknown")),
            supplierText(), hardeningDaysText()};
}

QStringList ActivityEvaluation::resultTexts() const {
    return {contractionMlText(),
            specificContraction3hText(),
            brakingText(QCoreApplication::translate("QObject", "Yes"),
                        QCoreApplication::translate("QObject", "No")),
            brakingCorrectionText(),
            averageTemperatureText(),
            temperatureCorrectionText(),
            totalText(),
            activityText(),
            hitFactorText(),
            activityWithHitText(),
            specificContractionText()};
}

QStringList ActivityEvaluation::parameterTexts(const ProcessP &record) {
    return ActivityEvaluation(record).parameterTexts();
}

QStringList ActivityEvaluation::resultTexts(const ProcessP &record) {
    return ActivityEvaluation(record).resultTexts();
}
