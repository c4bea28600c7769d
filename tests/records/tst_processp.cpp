#include "records/alignedcurve.h"
#include "records/textexport.h"
#include "samplerecords.h"

#include <QLocale>
#include <QtTest>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace samplerecords;

// One record, and what is drawn and exported from it.
class TestProcessP : public QObject {
    Q_OBJECT
private slots:
    void headerFields();
    void startIndexAndDamagedRecords();
    void alignedCurveAndTextExport();
};

void TestProcessP::headerFields() {
    // Reserved bytes are carried unchanged; each flag is one bit.
    QByteArray h = header();
    h[6] = char(0xaa);
    h[36] = char(0xfd); // the flags
    h[63] = char(0x55);
    ProcessP p(h, samples(3), 3);
    QCOMPARE(p.header(), h);
    QVERIFY(p.brakingRecord() && !p.temperatureNotObserved());

    // A test is known by its start, duration and period: which bytes tell two apart.
    QString identity;
    for (int i = 0; i < ProcessP::HeaderSize; ++i) {
        QByteArray other = header();
        other[i] = char(other[i] ^ 0x01);
        identity += ProcessP::sameTest(header(), other) ? '-' : 'x';
    }
    QCOMPARE(identity, "xxxxxx" + QString(18, '-') + "xxxxxxxx" + QString(36, '-'));
    QVERIFY(!ProcessP::sameTest(header(), header().left(20)));

    // The hit coefficient as a rounded percentage (0.29 is 28.999... in binary); 1.00
    // outside 0.2..2.0 and for NaN.
    QString stored;
    for (double value : {2.0, 2.01, 0.29, qQNaN(), 0.19}) {
        p.setHitCoefficient(value);
        stored += QString::number(p.hitPercent()) + ' ';
    }
    QCOMPARE(stored, QString("200 100 29 100 100 "));
}

// The start of contraction and the three-hour contraction; damaged records stay inside
// their buffers.
void TestProcessP::startIndexAndDamagedRecords() {
    // Never rising: baseline b = v[0] + offset = 107, start n - 1, contraction -b.
    HeaderFields s;
    s.duration = 3000, s.volumeOffset = 7; // n = 50
    QByteArray flat = samples(3);
    fill(flat, 3, 0, 0, 50, 100);
    ProcessP p(header(s), flat, 3);
    QCOMPARE(p.volumeBaseline(), 107);
    QCOMPARE(int(p.startIndex()), 49);
    QCOMPARE(p.contraction3h(), -107.0f);

    // v[i] = 2 (i - 9) from 10, 0.05 ml, b = 4: start 12, v[192] - b - v[12] = 356.
    s.volumeScale = 0.05f, s.duration = 500 * 60, s.volumeOffset = 4;
    QByteArray rising = samples(3);
    for (int i = 10; i < 500; ++i)
        setCount(rising, 3, 0, i, quint16(2 * (i - 9)));
    ProcessP q(header(s), rising, 3);
    QCOMPARE(int(q.startIndex()), 12);
    QCOMPARE(q.contraction3h(), 356.0f);

    // Damaged records: period 0 has no points.
    s.period = 0;
    QCOMPARE(ProcessP(header(s), samples(3), 3).pointCount(), 0u);

    // duration / period far above the channel length: clamped to L.
    s.period = 1, s.duration = 1000000;
    ProcessP tooLong(header(s), samples(1), 1);
    QCOMPARE(tooLong.pointCount(), 2500u);
    QCOMPARE(int(tooLong.startIndex()), 2499);
    QCOMPARE(tooLong.volumeCount(2500), qint16(0));

    // A sample buffer shorter than the kind needs is zero-padded.
    QCOMPARE(ProcessP(header(s), QByteArray(10, 1), 3).samples(),
             QByteArray(10, 1) + QByteArray(ProcessP::sampleBytes(3) - 10, 0));

    ProcessP badKind(header(s), QByteArray(), 9);
    QVERIFY(badKind.pointCount() == 0 && badKind.temperatureSamples(false).isEmpty());
    // An older header cut short is padded rather than read past its end.
    const QByteArray old(ProcessP::OldHeaderSize, '\x07');
    QCOMPARE(ProcessP::convertOldHeader(old.left(10)).left(12), old.left(10) + QByteArray(2, 0));
}

// Curves laid from each test's start of measurement, and the tests left out; the
// exported text.
void TestProcessP::alignedCurveAndTextExport() {
    AlignedCurve::Exclusion why = AlignedCurve::NoMass;
    const auto points = AlignedCurve::points(*make(longTestHeader()), AlignedCurve::Volume, &why);
    QCOMPARE(why, AlignedCurve::Included);
    QCOMPARE(points.size(), 1500);
    QCOMPARE(points.first(), QPointF(-600.0, 0.0)); // the start is at index 10
    QCOMPARE(float(points.at(13).y()), 0.1f);
    HeaderFields noScale = longTestHeader();
    noScale.volumeScale = float(qQNaN());
    QVERIFY(AlignedCurve::points(*make(noScale), AlignedCurve::Volume, &why).isEmpty());
    QCOMPARE(why, AlignedCurve::NoPoints);
    AlignedCurve::points(*make(longTestHeader(), longSamples(), 0), AlignedCurve::Resistance, &why);
    QCOMPARE(why, AlignedCurve::TwoChannels);

    // Kind 1, two hours a point a minute, 300 g, volume 10 i counts; six digits.
    HeaderFields s;
    s.duration = 7200, s.mass = 300;
    QByteArray block = samples(1);
    fill(block, 1, 1, 0, 120, 203);
    for (int i = 0; i < 120; ++i)
        setCount(block, 1, 0, i, quint16(10 * i));
    const ProcessP p(header(s), block, 1);
    const QStringList lines = TextExport::lines(p, QLocale(QLocale::English));
    QCOMPARE(lines.mid(0, 3) + lines.mid(120),
             QStringList({"#\tTime\tVolume\tTemperature", "0\t00:00:00\t0\t20.3",
                          "1\t00:01:00\t0.333333\t20.3", "119\t01:59:00\t39.6667\t20.3"}));

    // Times wrap after a day, also past 32 bits: 12e9 mod 86400 = 76800 s.
    s.duration = 1500 * 60;
    const QStringList day = TextExport::lines(ProcessP(header(s), samples(0), 0), QLocale::c());
    QVERIFY(day.value(1441).startsWith(QStringLiteral("1440\t00:00:00\t")));
    QCOMPARE(TextExport::timeOfDay(12000000000ULL), QStringLiteral("21:20:00"));

#ifndef Q_OS_WIN
    // A pipe (or a device) in the file's place is refused, not replaced.
    QTemporaryDir dir;
    const QByteArray fifo = dir.filePath("fifo").toLocal8Bit();
    QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
    QVERIFY(!TextExport::write(fifo, p, QLocale::c(), nullptr));
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
#endif
}

QTEST_GUILESS_MAIN(TestProcessP)
#include "tst_processp.moc"
