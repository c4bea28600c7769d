#include "resultsrow.h"

#include "evaluation/tabletexts.h"
#include "records/processp.h"

#include <QCoreApplication>
#include <QtNumeric>

namespace {
const QString Unknown = QStringLiteral("?");

const char *const Titles[ResultsRow::ColumnCount] = {
    QT_TRANSLATE_NOOP("ResultsRow", "Date"),
    QT_TRANSLATE_NOOP("ResultsRow", "Time"),
    QT_TRANSLATE_NOOP("ResultsRow", "Name"),
    QT_TRANSLATE_NOOP("ResultsRow", "Kind (channels)"),
    QT_TRANSLATE_NOOP("ResultsRow", "Cement grade"),
    QT_TRANSLATE_NOOP("ResultsRow", "Mass, g"),
    QT_TRANSLATE_NOOP("ResultsRow", "Duration, hh:mm"),
    QT_TRANSLATE_NOOP("ResultsRow", "Hardening, days"),
    QT_TRANSLATE_NOOP("ResultsRow", "Total contraction ΔVₒ, ml"),
    QT_TRANSLATE_NOOP("ResultsRow", "Activity R, MPa"),
    QT_TRANSLATE_NOOP("ResultsRow", "Hit coefficient"),
    QT_TRANSLATE_NOOP("ResultsRow", "Activity with hit coefficient, MPa"),
    QT_TRANSLATE_NOOP("ResultsRow", "Specific contraction ΔV, ml"),
};

// The parameters table's row behind each value column.
const int TableRows[ResultsRow::ColumnCount] = {-1,
                                                -1,
                                                -1,
                                                -1,
                                                TableTexts::RowGrade,
                                                TableTexts::RowMass,
                                                TableTexts::RowDuration,
                                                TableTexts::RowDays,
                                                TableTexts::RowTotal,
                                                TableTexts::RowActivity,
                                                TableTexts::RowHit,
                                                TableTexts::RowActivityWithHit,
                                                TableTexts::RowSpecificContraction};

QDate startDate(const ProcessP &record) {
    return QDate(record.startYear() + 2000, record.startMonth(), record.startDay());
}

QTime startTime(const ProcessP &record) {
    return QTime(record.startHour(), record.startMinute(), record.startSecond());
}
} // namespace

ResultsRow::ResultsRow() : texts_(ColumnCount, Unknown), keys_(ColumnCount), measured_(qQNaN()) {
    texts_[Name].clear();
}

ResultsRow::ResultsRow(const ProcessP &record, const QString &name)
    : texts_(ColumnCount), keys_(ColumnCount), date_(startDate(record)), time_(startTime(record)),
      grade_(int(qMin(record.grade(), 7u))), supplier_(int(qMin(record.supplier(), 7u))),
      hardeningIndex_(record.hardeningIndex()), measured_(record.measuredStrength()),
      measuredIndex_(record.hasMeasuredStrength() ? record.measuredIndex() : -1) {
    const TableTexts table(record);
    texts_[Date] = dateText(record);
    texts_[Time] = timeText(record);
    texts_[Name] = name;
    texts_[Kind] =
        QStringLiteral("%1 (%2)").arg(record.kind()).arg(ProcessP::channelCount(record.kind()));
    for (int column = Grade; column < ColumnCount; ++column)
        // A short test leaves the hit coefficient's cell empty there too.
        texts_[column] =
            table.filled(TableRows[column]) ? table.value(TableRows[column]) : QString();
    makeKeys(&record);
}

QString ResultsRow::dateText(const ProcessP &record) {
    const QDate date = startDate(record);
    return date.isValid() ? date.toString(Qt::TextDate) : Unknown;
}

QString ResultsRow::timeText(const ProcessP &record) {
    const QTime time = startTime(record);
    return time.isValid() ? time.toString(Qt::TextDate) : Unknown;
}

QString ResultsRow::title(int column) {
    return column >= 0 && column < ColumnCount
               ? QCoreApplication::translate("ResultsRow", Titles[column])
               : QString();
}

bool ResultsRow::decimal(int column) {
    return column == Total || column == Activity || column == HitCoefficient ||
           column == ActivityWithHit || column == SpecificContraction;
}

bool ResultsRow::numeric(int column) {
    return column >= Kind && column < ColumnCount;
}

ResultsRow::Number ResultsRow::number(const QString &text) {
    Number n;
    QStringRef digits(&text);
    if (text.startsWith(QLatin1Char('<')) || text.startsWith(QLatin1Char('>'))) {
        n.bound = text.at(0) == QLatin1Char('<') ? -1 : 1;
        digits = digits.mid(1);
    }
    n.value = digits.toDouble(&n.known);
    if (!n.known)
        n = Number();
    return n;
}

void ResultsRow::setName(const QString &name) {
    texts_[Name] = name;
}

QString ResultsRow::label() const {
    if (!texts_[Name].isEmpty())
        return texts_[Name];
    return texts_[Date] + QLatin1Char(' ') + texts_[Time];
}

void ResultsRow::makeKeys(const ProcessP *record) {
    for (int column = 0; column < ColumnCount; ++column) {
        Key &key = keys_[column];
        key = Key();
        if (column == Date || column == Time || column == Name)
            continue; // compared as dates, times and texts
        if (column == Kind) {
            key = {false, double(record->kind()), 0};
        } else if (column == Grade) {
            // An unknown grade (index 7 and above) has no place among M-100..M-700.
            if (texts_[Grade].startsWith(QLatin1String("M-")))
                key = {false, double(record->grade()), 0};
        } else if (column == Duration) {
            key = {false, double(record->duration()), 0};
        } else {
            const Number n = number(texts_[column]);
            if (n.known)
                key = {false, n.value, n.bound};
        }
    }
}

bool ResultsRow::before(const ResultsRow &a, const ResultsRow &b, int column, Qt::SortOrder order) {
    bool aLast = true, bLast = true;
    int comparison = 0; // of a against b, ascending
    if (column == Date || column == Time) {
        // The date column orders by the whole start, the time column by the
        // time of day.
        aLast = column == Date ? !a.date_.isValid() : !a.time_.isValid();
        bLast = column == Date ? !b.date_.isValid() : !b.time_.isValid();
        if (column == Date && a.date_ != b.date_)
            comparison = a.date_ < b.date_ ? -1 : 1;
        else if (a.time_.isValid() && b.time_.isValid() && a.time_ != b.time_)
            comparison = a.time_ < b.time_ ? -1 : 1;
    } else if (column == Name) {
        aLast = a.texts_[Name].isEmpty();
        bLast = b.texts_[Name].isEmpty();
        comparison = QString::localeAwareCompare(a.texts_[Name], b.texts_[Name]);
    } else if (column >= 0 && column < ColumnCount) {
        const Key &x = a.keys_[column];
        const Key &y = b.keys_[column];
        aLast = x.last;
        bLast = y.last;
        if (x.value != y.value)
            comparison = x.value < y.value ? -1 : 1;
        else
            comparison = x.bound - y.bound;
    }
    if (aLast || bLast)
        return !aLast; // a row with a key goes above one without, whatever the order
    return order == Qt::AscendingOrder ? comparison < 0 : comparison > 0;
}
