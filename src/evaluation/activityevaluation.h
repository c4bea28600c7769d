#ifndef ACTIVITYEVALUATION_H
#define ACTIVITYEVALUATION_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

class ProcessP;

// The whole evaluation of one test, computed once from the record: every
// quantity and every display text that the parameters table, the printed
// protocol and the command-line tool show, so that they can never disagree.
// Holds copies only; the record may change or go away afterwards.
//
// What cannot be evaluated shows as "?":
// - a test shorter than three hours, or a record without samples (period 0,
//   duration shorter than one period): everything from braking on
//   (evaluated() is false); without samples also both contractions;
// - a cement mass of 0: ΔV1k3, braking (and with it a braking correction that
//   applies), the total, the activities and the specific contraction;
// - a temperature window without samples (period above three hours): the
//   average temperature and, when it applies, its correction and the total;
// - a hardening index outside 0..6: the duration of hardening, the activities
//   and the specific contraction.
class ActivityEvaluation {
public:
    explicit ActivityEvaluation(const ProcessP &record);

    // Results from braking on exist (a test of at least three hours with samples).
    bool evaluated() const { return evaluated_; }
    double contractionMl() const { return contractionMl_; }
    float specificContraction3h() const { return specific3h_; }
    // False when the braking test could not be run (ΔV1k3 unknown).
    bool brakingKnown() const { return brakingKnown_; }
    bool braking() const { return braking_; }
    bool brakingRecord() const { return brakingRecord_; }
    bool temperatureNotObserved() const { return temperatureNotObserved_; }
    float supplierCorrection() const { return supplierCorrection_; }
    // ΔΔV counted in the total: the supplier correction for a braking record
    // that brakes, else 0.
    float brakingCorrection() const { return brakingCorrection_; }
    double averageTemperature() const { return averageTemperature_; }
    // Counted in the total; 0 when the temperature was observed.
    float temperatureCorrection() const { return temperatureCorrection_; }
    // ΔVo = ΔΔV + ΔV1k3 + temperature correction, in single precision.
    float total() const { return total_; }
    double hitFactor() const { return hitFactor_; }

    // Parameter texts.
    QString massText() const;
    QString durationText() const;
    QString periodText() const;
    QString gradeText(const QString &unknown) const;
    QString supplierText() const;
    QString hardeningDaysText() const;

    // Result texts; "?" where the value cannot be evaluated.
    QString contractionMlText() const;
    QString specificContraction3hText() const;
    QString brakingText(const QString &yes, const QString &no) const;
    QString brakingCorrectionText() const;
    QString averageTemperatureText() const;
    QString temperatureCorrectionText() const;
    QString totalText() const;
    QString activityText() const;
    QString hitFactorText() const;
    QString activityWithHitText() const;
    QString specificContractionText() const;

    // The value columns of the printed protocol: 6 parameters and 11 results,
    // the words "Yes", "No" and "Unknown" translated in the QObject context.
    QStringList parameterTexts() const;
    QStringList resultTexts() const;
    static QStringList parameterTexts(const ProcessP &record);
    static QStringList resultTexts(const ProcessP &record);

    // Whole hours and minutes, "hh:mm" with at least two digits of hours.
    static QString durationText(quint32 seconds);
    // Fixed point with 2 decimals, "." as separator; "?" for NaN or infinity.
    static QString numberText(double value);

private:
    quint32 mass_;
    quint32 duration_;
    quint32 period_;
    quint32 grade_;
    int hardeningIndex_;
    bool brakingRecord_;
    bool temperatureNotObserved_;
    bool evaluated_;
    double contractionMl_;
    float specific3h_;
    bool brakingKnown_ = false;
    bool braking_ = false;
    float supplierCorrection_;
    float brakingCorrection_ = 0.0f;
    double averageTemperature_;
    float temperatureCorrection_ = 0.0f;
    float total_;
    double hitFactor_;
    QString activity_;
    QString activityWithHit_;
    QString specificContraction_;
};

#endif // ACTIVITYEVALUATION_H
