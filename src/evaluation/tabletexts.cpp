#include "tabletexts.h"

#include <QCoreApplication>

namespace {
const QString NotApplied = QStringLiteral("-");
const QString Unknown = QStringLiteral("?");

const char *const Labels[TableTexts::RowCount] = {
    QT_TRANSLATE_NOOP("Monitor", "Cement weight in cup Co, g"),
    QT_TRANSLATE_NOOP("Monitor", "Duration, hh:mm"),
    QT_TRANSLATE_NOOP("Monitor", "Period, sec"),
    QT_TRANSLATE_NOOP("Monitor", "Cement grade"),
    QT_TRANSLATE_NOOP("Monitor", "ΔΔV, ml(supplier)"),
    QT_TRANSLATE_NOOP("Monitor", "Duration of hardening, days"),
    QT_TRANSLATE_NOOP("Monitor", "Braking record"),
    QT_TRANSLATE_NOOP("Monitor", "Inobservance t"),
    nullptr,
    QT_TRANSLATE_NOOP("Monitor", "Contraction ΔV(Cₒ3), ml"),
    QT_TRANSLATE_NOOP("Monitor", "Contraction ΔV 1k3, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Braking"),
    QT_TRANSLATE_NOOP("Monitor", "Braking correction ΔΔV, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Average temperature, °C"),
    QT_TRANSLATE_NOOP("Monitor", "Temperature correction, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Total contraction ΔVₒ, ml"),
    QT_TRANSLATE_NOOP("Monitor", "Activity R, MPa"),
    QT_TRANSLATE_NOOP("Monitor", "Hit coefficient"),
    QT_TRANSLATE_NOOP("Monitor", "Activity with Hit Coefficient, MPa"),
    QT_TRANSLATE_NOOP("Monitor", "Specific contraction ΔV, ml"),
};

QString word(const char *text) {
    return QCoreApplication::translate("Monitor", text);
}

// The words of the value column, in the table's context.
const char *const Yes = QT_TRANSLATE_NOOP("Monitor", "Yes");
const char *const No = QT_TRANSLATE_NOOP("Monitor", "No");
const char *const UnknownGrade = QT_TRANSLATE_NOOP("Monitor", "Unknown");
} // namespace

TableTexts::TableTexts(const ProcessP &record) : evaluation_(record) {
    const ActivityEvaluation &e = evaluation_;
    values_.reserve(RowCount);
    values_ << e.massText() << e.durationText() << e.periodText() << e.gradeText(word(UnknownGrade))
            << e.supplierText() << e.hardeningDaysText() << QString() << QString() << QString()
            << e.contractionMlText() << e.specificContraction3hText();
    if (!e.evaluated()) {
        // Without three hours of samples nothing from braking on is known.
        for (int row = RowBraking; row <= RowActivity; ++row)
            values_ << Unknown;
        values_ << QString() << QString() << Unknown;
        return;
    }
    values_ << (e.brakingRecord() ? e.brakingText(word(Yes), word(No)) : NotApplied)
            << (e.brakingRecord() ? e.brakingCorrectionText() : NotApplied)
            << e.averageTemperatureText()
            << (e.temperatureNotObserved() ? e.temperatureCorrectionText() : NotApplied)
            << e.totalText() << e.activityText() << e.hitFactorText() << e.activityWithHitText()
            << e.specificContractionText();
}

QString TableTexts::label(int row) {
    return row >= 0 && row < RowCount && Labels[row] ? word(Labels[row]) : QString();
}

bool TableTexts::editable(int row) {
    return row == RowMass || row == RowGrade || row == RowSupplier || row == RowDays ||
           row == RowHit || isCheckBox(row);
}

bool TableTexts::isCheckBox(int row) {
    return row == RowBrakingRecord || row == RowTemperatureNotObserved;
}

bool TableTexts::filled(int row) const {
    if (row == RowSeparator)
        return false;
    if (row == RowHit || row == RowActivityWithHit)
        return evaluation_.evaluated();
    return row >= 0 && row < RowCount;
}

bool TableTexts::checked(int row) const {
    if (row == RowBrakingRecord)
        return evaluation_.brakingRecord();
    if (row == RowTemperatureNotObserved)
        return evaluation_.temperatureNotObserved();
    return false;
}
