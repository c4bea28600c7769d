#include "resultscsv.h"

#include <QLocale>

QChar ResultsCsv::separator(const QLocale &locale) {
    return locale.decimalPoint() == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
}

QString ResultsCsv::field(const ResultsRow &row, int column, const QLocale &locale) {
    QString text = row.text(column);
    if (column == ResultsRow::Date && row.date().isValid())
        return row.date().toString(Qt::ISODate);
    if (ResultsRow::decimal(column))
        return text.replace(QLatin1Char('.'), locale.decimalPoint());
    static const QString formulaStart = QStringLiteral("=+-@\t\r");
    if (column == ResultsRow::Name && !text.isEmpty() && formulaStart.contains(text.at(0)))
        return QLatin1Char('\'') + text;
    return text;
}

QString ResultsCsv::quoted(const QString &field, QChar separator) {
    const bool plain = !field.contains(separator) && !field.contains(QLatin1Char('"')) &&
                       !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')) &&
                       !field.startsWith(QLatin1Char(' ')) && !field.endsWith(QLatin1Char(' '));
    if (plain)
        return field;
    return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString ResultsCsv::text(const QVector<ResultsRow> &rows, const QLocale &locale, QChar separator,
                         const QString &lineEnd) {
    QString out;
    QStringList fields;
    for (int column = 0; column < ResultsRow::ColumnCount; ++column)
        fields << quoted(ResultsRow::title(column), separator);
    out += fields.join(separator) + lineEnd;
    for (const ResultsRow &row : rows) {
        fields.clear();
        for (int column = 0; column < ResultsRow::ColumnCount; ++column)
            fields << quoted(field(row, column, locale), separator);
        out += fields.join(separator) + lineEnd;
    }
    return out;
}

QByteArray ResultsCsv::bytes(const QVector<ResultsRow> &rows, const QLocale &locale) {
    return QByteArray("\xEF\xBB\xBF") +
           text(rows, locale, separator(locale), QStringLiteral("\r\n")).toUtf8();
}

AtomicSave ResultsCsv::write(const QString &path, const QVector<ResultsRow> &rows,
                             const QLocale &locale) {
    return AtomicSave::write(path, bytes(rows, locale));
}
