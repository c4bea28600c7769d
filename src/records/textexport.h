#ifndef TEXTEXPORT_H
#define TEXTEXPORT_H

#include <QString>
#include <QStringList>

class ProcessP;
class QLocale;

// The series of one test as tab-separated text: a header line ("#" and the
// column titles), then per point its index, its time of day counted from
// 00:00:00 and one value per channel, each value in the general format with
// six significant digits as the given locale writes numbers.
class TextExport {
public:
    // Translated column titles after "#": Time, Volume, Temperature and, for
    // the four-channel kinds 2 and 3, Resistance and Temperature of cement.
    static QStringList columnTitles(quint8 kind);
    // "hh:mm:ss" of the seconds after midnight; the clock wraps at 24 hours.
    static QString timeOfDay(quint64 seconds);
    // The header line then one line per point, without line ends.
    static QStringList lines(const ProcessP &record, const QLocale &locale);
    // Every line followed by "\n".
    static QString text(const ProcessP &record, const QLocale &locale);
    // Writes text() in the text stream's default encoding, replacing path
    // only once everything is written. On failure *error gets the reason.
    static bool write(const QString &path, const ProcessP &record, const QLocale &locale,
                      QString *error);
};

#endif // TEXTEXPORT_H
