#ifndef RESULTSROW_H
#define RESULTSROW_H

#include <QDate>
#include <QString>
#include <QTime>
#include <QVector>

class ProcessP;

// One test in the results overview of a project: the texts of its columns,
// copied from the record when it is made. The value texts are those of the
// parameters table (TableTexts), "?" included; date and time are those of
// the process list. Also decides the order of two rows in a column, so that
// every view sorts alike.
class ResultsRow {
public:
    enum Column {
        Date,
        Time,
        Name,
        Kind,
        Grade,
        Mass,
        Duration,
        HardeningDays,
        Total,
        Activity,
        HitCoefficient,
        ActivityWithHit,
        SpecificContraction,
        ColumnCount
    };

    // A number as a value text holds it: "45.30", or a bound of the
    // reference table ("<20.0" is below 20.0, ">71.10" above 71.10).
    struct Number {
        bool known = false; // false for "?", "-", "" and words
        double value = 0.0;
        int bound = 0; // -1 below, 0 the value itself, +1 above
    };

    // A row of "?" (a test the store does not hold).
    ResultsRow();
    ResultsRow(const ProcessP &record, const QString &name);

    // The start date and time as the process list shows them (the toolkit's
    // text formats), "?" when the header names no real date or time.
    static QString dateText(const ProcessP &record);
    static QString timeText(const ProcessP &record);

    // The column's title, translated.
    static QString title(int column);
    // Columns whose texts are decimal numbers or bounds of one.
    static bool decimal(int column);
    // Columns sorted by number; the others by date, time or text.
    static bool numeric(int column);
    static Number number(const QString &text);

    QString text(int column) const { return texts_.value(column); }
    void setName(const QString &name);
    QDate date() const { return date_; }
    QTime time() const { return time_; }
    // The record's indices as the filters of the quality control choose by
    // them: -1 for a row of "?".
    int grade() const { return grade_; }
    int supplier() const { return supplier_; }
    int hardeningIndex() const { return hardeningIndex_; }
    // The measured strength (NaN when none) and the hardening index it was
    // measured at.
    double measuredStrength() const { return measured_; }
    int measuredIndex() const { return measuredIndex_; }
    // What a legend or a tooltip calls the test: its name, or its date and
    // time when it has none.
    QString label() const;

    // Whether `a` is shown above `b` when the column is sorted in `order`.
    // Numbers by value (a bound just beyond its number), dates by date, names
    // alphabetically; texts without a number ("?", "-", an unknown grade)
    // and empty names come last in either direction.
    static bool before(const ResultsRow &a, const ResultsRow &b, int column, Qt::SortOrder order);

private:
    struct Key {
        bool last = true; // nothing to sort by: after every other row
        double value = 0.0;
        int bound = 0;
    };
    void makeKeys(const ProcessP *record);

    QVector<QString> texts_;
    QVector<Key> keys_;
    QDate date_;
    QTime time_;
    int grade_ = -1;
    int supplier_ = -1;
    int hardeningIndex_ = -1;
    double measured_;
    int measuredIndex_ = -1;
};

#endif // RESULTSROW_H
