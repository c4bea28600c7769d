#include "textexport.h"

#include "atomicsave.h"
#include "processp.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPointF>
#include <QTextCodec>
#include <QVector>

namespace {} // namespace

QStringList TextExport::columnTitles(quint8 kind) {
    QStringList titles{QCoreApplication::translate("MainWindow", "Time"),
                       QCoreApplication::translate("MainWindow", "Volume"),
                       QCoreApplication::translate("MainWindow", "Temperature")};
    if (ProcessP::channelCount(kind) == 4)
        titles << QCoreApplication::translate("MainWindow", "Resistance")
               << QCoreApplication::translate("MainWindow", "Temperature of cement");
    return titles;
}

QString TextExport::timeOfDay(quint64 seconds) {
    const quint64 s = seconds % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QStringList TextExport::lines(const ProcessP &record, const QLocale &locale) {
    QVector<QVector<QPointF>> columns{record.volumeSamples(1), record.temperatureSamples(false)};
    if (ProcessP::channelCount(record.kind()) == 4)
        columns << record.resistanceSamples() << record.temperatureSamples(true);

    QStringList out;
    const int n = columns.first().size();
    out.reserve(n + 1);
    out << QStringLiteral("#\t") + columnTitles(record.kind()).join(QLatin1Char('\t'));
    const quint64 period = record.period();
    for (int i = 0; i < n; ++i) {
        QString line = QString::number(i) + QLatin1Char('\t') + timeOfDay(quint64(i) * period);
        for (const QVector<QPointF> &column : columns)
            line += QLatin1Char('\t') + locale.toString(column.at(i).y(), 'g', 6);
        out << line;
    }
    return out;
}

QString TextExport::text(const ProcessP &record, const QLocale &locale) {
    QString all;
    for (const QString &line : lines(record, locale))
        all += line + QLatin1Char('\n');
    return all;
}

bool TextExport::write(const QString &path, const ProcessP &record, const QLocale &locale,
                       QString *error) {
    // The encoding a text stream uses by default.
    const QByteArray bytes = QTextCodec::codecForLocale()->fromUnicode(text(record, locale));
    const AtomicSave saved = AtomicSave::write(path, bytes, QIODevice::Text);
    if (!saved.ok() && error)
        *error = saved.error;
    return saved.ok();
}
