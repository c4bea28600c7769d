#include "records/processp.h"
#include "records/textexport.h"
#include "testrecords.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using namespace testrecords;

namespace {
const QLocale English(QLocale::English, QLocale::UnitedStates);

// Kind 1, two hours at one point a minute, 400 g of cement: volume counts
// 10 i at 0.01 ml, ambient temperature counts 203 at 0.1 degrees.
ProcessP twoHours(quint32 mass = 400) {
    HeaderFields s;
    s.duration = 7200;
    s.period = 60;
    s.mass = mass;
    QByteArray block = samples(1);
    for (int i = 0; i < 120; ++i) {
        setCount(block, 1, 0, i, quint16(10 * i));
        setCount(block, 1, 1, i, 203);
    }
    return ProcessP(header(s), block, 1);
}
} // namespace

class TestTextExport : public QObject {
    Q_OBJECT
private slots:
    void twoChannelLines();
    void timesWrapAfterADay();
    void fourChannelColumns();
    void decimalCommaLocale();
    void massZeroIsNotANumber();
    void noPointsGivesTheHeaderOnly();
    void writesTheFile();
};

void TestTextExport::twoChannelLines() {
    const QStringList lines = TextExport::lines(twoHours(), English);
    QCOMPARE(lines.size(), 121);
    QCOMPARE(lines[0], QStringLiteral("#\tTime\tVolume\tTemperature"));
    QCOMPARE(lines[1], QStringLiteral("0\t00:00:00\t0\t20.3"));
    // 10 counts x 0.01 ml x 1000 / 400 g
    QCOMPARE(lines[2], QStringLiteral("1\t00:01:00\t0.25\t20.3"));
    QCOMPARE(lines[120], QStringLiteral("119\t01:59:00\t29.75\t20.3"));
}

void TestTextExport::timesWrapAfterADay() {
    HeaderFields s;
    s.period = 60;
    s.duration = 1500 * 60;
    const QStringList lines = TextExport::lines(ProcessP(header(s), samples(0), 0), English);
    QCOMPARE(lines.size(), 1501);
    QVERIFY(lines[1440].startsWith(QStringLiteral("1439\t23:59:00\t")));
    QVERIFY(lines[1441].startsWith(QStringLiteral("1440\t00:00:00\t")));
    QVERIFY(lines[1500].startsWith(QStringLiteral("1499\t00:59:00\t")));
    QCOMPARE(TextExport::timeOfDay(86399), QStringLiteral("23:59:59"));
    QCOMPARE(TextExport::timeOfDay(90061), QStringLiteral("01:01:01"));
    // 3 x 4 000 000 000 s overflows 32 bits: 12e9 mod 86400 = 76800 s.
    QCOMPARE(TextExport::timeOfDay(12000000000ULL), QStringLiteral("21:20:00"));
}

void TestTextExport::fourChannelColumns() {
    HeaderFields s;
    s.period = 60;
    s.duration = 120;
    QByteArray block = samples(3);
    setCount(block, 3, 0, 0, 100); // kind 3: the first count is the baseline
    setCount(block, 3, 0, 1, 140);
    setCount(block, 3, 1, 1, quint16(-52));
    setCount(block, 3, 2, 1, 215);
    setCount(block, 3, 3, 1, 0xFFFF);
    const QStringList lines = TextExport::lines(ProcessP(header(s), block, 3), English);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0],
             QStringLiteral("#\tTime\tVolume\tTemperature\tResistance\tTemperature of cement"));
    // 40 counts x 0.01 x 2.5 ml; -5.2 degrees; 65535 x 1.0 / 1000 kOhm; 21.5 degrees
    QCOMPARE(lines[2], QStringLiteral("1\t00:01:00\t1\t-5.2\t65.535\t21.5"));
    QCOMPARE(TextExport::columnTitles(2).size(), 5);
    QCOMPARE(TextExport::columnTitles(0).size(), 3);
}

void TestTextExport::decimalCommaLocale() {
    const QStringList lines = TextExport::lines(twoHours(), QLocale(QLocale::German));
    QCOMPARE(lines[120], QStringLiteral("119\t01:59:00\t29,75\t20,3"));
    QCOMPARE(lines[120].split(QLatin1Char('\t')).size(), 4);
}

void TestTextExport::massZeroIsNotANumber() {
    ProcessP p = twoHours(0);
    const QStringList lines = TextExport::lines(p, English);
    // 0 x inf is not a number; positive counts give infinity.
    QCOMPARE(lines[1], QStringLiteral("0\t00:00:00\tnan\t20.3"));
    QCOMPARE(lines[2], QStringLiteral("1\t00:01:00\tinf\t20.3"));
}

void TestTextExport::noPointsGivesTheHeaderOnly() {
    HeaderFields s;
    s.period = 60;
    s.duration = 59;
    const ProcessP p(header(s), samples(1), 1);
    QCOMPARE(TextExport::text(p, English), QStringLiteral("#\tTime\tVolume\tTemperature\n"));
}

void TestTextExport::writesTheFile() {
    QTemporaryDir dir;
    const ProcessP p = twoHours();
    const QString path = dir.filePath("series.txt");
    QString error;
    QVERIFY(TextExport::write(path, p, English, &error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("#\tTime\tVolume\tTemperature\n0\t00:00:00\t0\t20.3\n"));
    QVERIFY(bytes.endsWith("119\t01:59:00\t29.75\t20.3\n"));
    QCOMPARE(bytes.count('\n'), 121);

    QVERIFY(!TextExport::write(path + "/below.txt", p, English, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_APPLESS_MAIN(TestTextExport)
#include "tst_textexport.moc"
