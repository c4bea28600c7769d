#ifndef RESULTSCSV_H
#define RESULTSCSV_H

#include "evaluation/resultsrow.h"
#include "records/atomicsave.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class QLocale;

// The results overview as a spreadsheet reads it: a header line of the
// column titles, then one line per row. Fields are quoted as RFC 4180 asks;
// where the locale writes decimals with a comma the fields are separated by
// ";" and the decimal columns use the comma, otherwise "," and ".".
//
// A spreadsheet reads the dates as dates: the date is written "yyyy-MM-dd".
// A name it would take for a formula (=, +, -, @ first) starts with an
// apostrophe, so opening the file never runs what a name holds.
class ResultsCsv {
public:
    static QChar separator(const QLocale &locale);
    // The column's text as the file holds it, before quoting.
    static QString field(const ResultsRow &row, int column, const QLocale &locale);
    // In quotes, inner quotes doubled, when it holds the separator, a quote
    // or a line break, or begins or ends with a space; else as it is.
    static QString quoted(const QString &field, QChar separator);
    // The header line and the rows, each line ended by lineEnd.
    static QString text(const QVector<ResultsRow> &rows, const QLocale &locale, QChar separator,
                        const QString &lineEnd);
    // The file: UTF-8 with a byte-order mark (a spreadsheet opened by a
    // double click reads Cyrillic names right), lines ended by CR LF.
    static QByteArray bytes(const QVector<ResultsRow> &rows, const QLocale &locale);
    // Writes bytes() in place of path in one step; a failure leaves what
    // stood there and says why.
    static AtomicSave write(const QString &path, const QVector<ResultsRow> &rows,
                            const QLocale &locale);
};

#endif // RESULTSCSV_H
