#include "records/processp.h"
#include "records/textexport.h"
#include "testrecords.h"

#include <QLocale>
#include <QtTest>

using namespace testrecords;

class TestTextExport : public QObject {
    Q_OBJECT
private slots:
    void linesInEitherLocale();
    void timesWrapAfterADay();
};

// Kind 1, two hours at one point a minute, 300 g of cement: volume counts
// 10 i at 0.01 ml, ambient temperature counts 203 at 0.1 degrees. Numbers
// have six significant digits.
void TestTextExport::linesInEitherLocale() {
    HeaderFields s;
    s.duration = 7200;
    s.period = 60;
    s.mass = 300;
    QByteArray block = samples(1);
    for (int i = 0; i < 120; ++i) {
        setCount(block, 1, 0, i, quint16(10 * i));
        setCount(block, 1, 1, i, 203);
    }
    const ProcessP p(header(s), block, 1);
    const QStringList lines = TextExport::lines(p, QLocale(QLocale::English));
    QCOMPARE(lines.size(), 121);
    QCOMPARE(lines[0], QStringLiteral("#\tTime\tVolume\tTemperature"));
    QCOMPARE(lines[1], QStringLiteral("0\t00:00:00\t0\t20.3"));
    // 10 counts x 0.01 ml x 1000 / 300 g
    QCOMPARE(lines[2], QStringLiteral("1\t00:01:00\t0.333333\t20.3"));
    QCOMPARE(lines[120], QStringLiteral("119\t01:59:00\t39.6667\t20.3"));
    QCOMPARE(TextExport::lines(p, QLocale(QLocale::German))[120],
             QStringLiteral("119\t01:59:00\t39,6667\t20,3"));
}

void TestTextExport::timesWrapAfterADay() {
    HeaderFields s;
    s.period = 60;
    s.duration = 1500 * 60;
    const QStringList lines = TextExport::lines(ProcessP(header(s), samples(0), 0), QLocale::c());
    QCOMPARE(lines.size(), 1501);
    QVERIFY(lines[1440].startsWith(QStringLiteral("1439\t23:59:00\t")));
    QVERIFY(lines[1441].startsWith(QStringLiteral("1440\t00:00:00\t")));
    // 3 x 4 000 000 000 s overflows 32 bits: 12e9 mod 86400 = 76800 s.
    QCOMPARE(TextExport::timeOfDay(12000000000ULL), QStringLiteral("21:20:00"));
}

QTEST_APPLESS_MAIN(TestTextExport)
#include "tst_textexport.moc"
