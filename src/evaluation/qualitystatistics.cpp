#include "qualitystatistics.h"

#include "evaluation/referencetables.h"
#include "evaluation/resultscsv.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QtNumeric>

namespace {
// The table writes it with 3 decimals; its mean and deviation need one more.
constexpr int ContractionDecimals = 4;

QString tr(const char *text) {
    return QCoreApplication::translate("QualityStatistics", text);
}

QVector<ControlChart::Point> chartPoints(const QVector<ResultsRow> &shown, int column) {
    QVector<ControlChart::Point> points;
    for (int r = 0; r < shown.size(); ++r) {
        const ResultsRow::Number n = ResultsRow::number(shown.at(r).text(column));
        if (n.known)
            points.append({n.value, n.bound, shown.at(r).date(), r});
    }
    return points;
}

// The numbers of a column (bounds counted, not taken).
QVector<double> numbers(const QVector<ResultsRow> &shown, int column, int *bounds) {
    QVector<double> values;
    for (const ResultsRow &row : shown) {
        const ResultsRow::Number n = ResultsRow::number(row.text(column));
        if (n.known && n.bound == 0)
            values.append(n.value);
        else if (n.known)
            ++*bounds;
    }
    return values;
}

QJsonValue jsonNumber(double value, int decimals = 2) {
    return qIsNaN(value) ? QJsonValue()
                         : QJsonValue(QString::number(value, 'f', decimals).toDouble());
}

QJsonObject jsonSummary(const SampleSummary &s, int leftOut, int decimals = 2) {
    return {{"n", s.n},
            {"mean", jsonNumber(s.mean, decimals)},
            {"sd", jsonNumber(s.sd, decimals)},
            {"cv", jsonNumber(s.cv)},
            {"min", jsonNumber(s.min, decimals)},
            {"max", jsonNumber(s.max, decimals)},
            {"leftOut", leftOut}};
}
} // namespace

QualityStatistics::QualityStatistics(const QVector<ResultsRow> &rows, const QualityFilter &filter,
                                     const ControlChart::Baseline &baseline)
    : filter_(filter), shown_(filter.apply(rows)),
      points_(chartPoints(shown_, filter.activityColumn())), chart_(points_, baseline) {
    activity_ = SampleSummary::of(numbers(shown_, filter.activityColumn(), &activityBounds_));
    contraction_ =
        SampleSummary::of(numbers(shown_, ResultsRow::SpecificContraction, &contractionBounds_));
    QVector<double> ratios;
    for (int r = 0; r < shown_.size(); ++r) {
        const ResultsRow &row = shown_.at(r);
        if (qIsNaN(row.measuredStrength()))
            continue;
        if (row.measuredIndex() != row.hardeningIndex()) {
            ++otherDuration_;
            continue;
        }
        const ResultsRow::Number predicted = ResultsRow::number(row.text(ResultsRow::Activity));
        if (!predicted.known)
            continue;
        if (predicted.bound != 0 || predicted.value <= 0.0) {
            ++coefficientBounds_;
            continue;
        }
        ratios.append(row.measuredStrength() / predicted.value);
        comparison_.append({predicted.value, row.measuredStrength()});
        comparisonRows_.append(r);
    }
    coefficient_ = SampleSummary::of(ratios);
}

QString QualityStatistics::number(double value, int decimals) {
    return qIsNaN(value) ? QStringLiteral("-") : QString::number(value, 'f', decimals);
}

QString QualityStatistics::filterText() const {
    const QString any = tr("any");
    const QString grade = filter_.grade < 0 ? any
                          : filter_.grade < 7
                              ? QStringLiteral("M-%1").arg((filter_.grade + 1) * 100)
                              : tr("unknown");
    const QString supplier = filter_.supplier < 0 ? any
                             : filter_.supplier < 7
                                 ? QString::number(1.1 + 0.1 * filter_.supplier, 'f', 1)
                                 : tr("other");
    QString dates = tr("all dates");
    if (filter_.from.isValid() || filter_.to.isValid())
        dates = QStringLiteral("%1 - %2").arg(filter_.from.toString(Qt::ISODate),
                                              filter_.to.toString(Qt::ISODate));
    return tr("%1 days of hardening; grade: %2; supplier ΔΔV: %3; %4")
        .arg(ReferenceTables::hardeningDaysText(filter_.hardeningIndex), grade, supplier, dates);
}

QString QualityStatistics::text() const {
    const auto summary = [](const QString &title, const SampleSummary &s, int decimals) {
        return tr("%1: n %2, mean %3, sd %4, CV %5 %, min %6, max %7")
            .arg(title)
            .arg(s.n)
            .arg(number(s.mean, decimals), number(s.sd, decimals), number(s.cv),
                 number(s.min, decimals), number(s.max, decimals));
    };
    QStringList lines;
    lines << tr("Tests shown: %1 (%2)").arg(shown_.size()).arg(filterText());
    lines << summary(ResultsRow::title(filter_.activityColumn()), activity_, 2);
    lines << tr("  left out as bounds of the table: %1").arg(activityBounds_);
    lines << summary(ResultsRow::title(ResultsRow::SpecificContraction), contraction_,
                     ContractionDecimals);
    lines << tr("  left out as bounds of the table: %1").arg(contractionBounds_);
    lines << tr("Control chart (baseline: %1 tests): centre %2, control limits %3 to %4, warning "
                "limits %5 to %6, mean moving range %7")
                 .arg(chart_.baselineCount())
                 .arg(number(chart_.centre()), number(chart_.lowerLimit()),
                      number(chart_.upperLimit()), number(chart_.lowerWarning()),
                      number(chart_.upperWarning()), number(chart_.meanMovingRange()));
    QStringList beyond, runs;
    for (int i : chart_.beyond())
        beyond << shown_.at(points_.at(i).row).label();
    for (const auto &run : chart_.runs())
        runs << QStringLiteral("%1 ... %2")
                    .arg(shown_.at(points_.at(run.first).row).label(),
                         shown_.at(points_.at(run.second).row).label());
    lines << tr("Beyond a control limit: %1")
                 .arg(beyond.isEmpty() ? tr("none") : beyond.join(QStringLiteral("; ")));
    lines << tr("Runs of nine or more on one side: %1")
                 .arg(runs.isEmpty() ? tr("none") : runs.join(QStringLiteral("; ")));
    lines << tr("Coincidence coefficient K: %1 (sd %2, n %3); left out: activity R beyond the "
                "table %4, measured at another duration of hardening %5")
                 .arg(number(coefficient_.mean, 3), number(coefficient_.sd, 3))
                 .arg(coefficient_.n)
                 .arg(coefficientBounds_)
                 .arg(otherDuration_);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QByteArray QualityStatistics::csv(const QLocale &locale) const {
    const QChar sep = ResultsCsv::separator(locale);
    const QString end = QStringLiteral("\r\n");
    const auto line = [&](const QStringList &fields) {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << ResultsCsv::quoted(f, sep);
        return quoted.join(sep) + end;
    };
    const auto decimal = [&](double value, int decimals = 2) {
        return qIsNaN(value)
                   ? QString()
                   : number(value, decimals).replace(QLatin1Char('.'), locale.decimalPoint());
    };
    const auto summary = [&](const QString &title, const SampleSummary &s, int leftOut,
                             int decimals) {
        return line({title, QString::number(s.n), decimal(s.mean, decimals),
                     decimal(s.sd, decimals), decimal(s.cv), decimal(s.min, decimals),
                     decimal(s.max, decimals), QString::number(leftOut)});
    };
    QString out = line({tr("Tests shown"), QString::number(shown_.size()), filterText()}) + end;
    out += line({tr("Quantity"), tr("n"), tr("Mean"), tr("Standard deviation"), tr("CV, %"),
                 tr("Minimum"), tr("Maximum"), tr("Left out")});
    out += summary(ResultsRow::title(filter_.activityColumn()), activity_, activityBounds_, 2);
    out += summary(ResultsRow::title(ResultsRow::SpecificContraction), contraction_,
                   contractionBounds_, ContractionDecimals);
    out += summary(tr("Coincidence coefficient K"), coefficient_,
                   coefficientBounds_ + otherDuration_, 3);
    out += end;
    out += line({tr("Control chart"), tr("Value")});
    out += line({tr("Baseline tests"), QString::number(chart_.baselineCount())});
    out += line({tr("Centre line"), decimal(chart_.centre())});
    out += line({tr("Upper control limit"), decimal(chart_.upperLimit())});
    out += line({tr("Lower control limit"), decimal(chart_.lowerLimit())});
    out += line({tr("Upper warning limit"), decimal(chart_.upperWarning())});
    out += line({tr("Lower warning limit"), decimal(chart_.lowerWarning())});
    out += line({tr("Mean moving range"), decimal(chart_.meanMovingRange())});
    out += line({tr("Beyond a control limit"), QString::number(chart_.beyond().size())});
    out += line({tr("Runs of nine or more on one side"), QString::number(chart_.runs().size())});
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QByteArray QualityStatistics::json() const {
    QJsonArray beyond, runs;
    for (int i : chart_.beyond())
        beyond.append(shown_.at(points_.at(i).row).label());
    for (const auto &run : chart_.runs())
        runs.append(QJsonArray{shown_.at(points_.at(run.first).row).label(),
                               shown_.at(points_.at(run.second).row).label()});
    const QJsonObject filter{
        {"days", int(ReferenceTables::hardeningDays[qBound(0, filter_.hardeningIndex, 6)])},
        {"grade", filter_.grade},
        {"supplier", filter_.supplier},
        {"from", filter_.from.toString(Qt::ISODate)},
        {"to", filter_.to.toString(Qt::ISODate)},
        {"activity", QString(filter_.withHit ? "withHitCoefficient" : "R")}};
    const QJsonObject chart{{"baseline", chart_.baselineCount()},
                            {"centre", jsonNumber(chart_.centre())},
                            {"upperControlLimit", jsonNumber(chart_.upperLimit())},
                            {"lowerControlLimit", jsonNumber(chart_.lowerLimit())},
                            {"upperWarningLimit", jsonNumber(chart_.upperWarning())},
                            {"lowerWarningLimit", jsonNumber(chart_.lowerWarning())},
                            {"meanMovingRange", jsonNumber(chart_.meanMovingRange())},
                            {"beyond", beyond},
                            {"runs", runs}};
    QJsonObject k = jsonSummary(coefficient_, coefficientBounds_ + otherDuration_, 3);
    k.insert("bounds", coefficientBounds_);
    k.insert("otherDuration", otherDuration_);
    const QJsonObject all{
        {"filter", filter},
        {"tests", shown_.size()},
        {"activity", jsonSummary(activity_, activityBounds_)},
        {"specificContraction", jsonSummary(contraction_, contractionBounds_, ContractionDecimals)},
        {"controlChart", chart},
        {"coincidence", k}};
    return QJsonDocument(all).toJson(QJsonDocument::Indented);
}
