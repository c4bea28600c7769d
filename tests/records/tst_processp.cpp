#include "records/processp.h"
#include "testrecords.h"

#include <QtTest>

using namespace testrecords;

class TestProcessP : public QObject {
    Q_OBJECT
private slots:
    void headerFieldsReadFromTheirOffsets();
    void oldHeaderConversion();
    void identityIsStartDurationAndPeriodOnly();
    void startIndexAndContraction();
    void kindZeroDropsVolumeOffset();
    void hitCoefficientRounding_data();
    void hitCoefficientRounding();
    void damagedRecordsStayInsideTheirBuffer();
};

void TestProcessP::headerFieldsReadFromTheirOffsets() {
    HeaderFields s;
    s.second = 5;
    s.year = 26;
    s.mass = 0x01020304;
    s.duration = 7200;
    s.period = 30;
    s.flags = 0xfd;
    s.hitPercent = 95;
    s.volumeScale = 0.02f;
    s.resistanceScale = 1.5f;
    s.volumeOffset = -1234;
    QByteArray h = header(s);
    h[6] = char(0xaa); // reserved bytes are carried unchanged
    h[63] = char(0x55);
    ProcessP p(h, samples(3), 3);
    QCOMPARE(p.header(), h);
    QCOMPARE(int(p.startSecond()), 5);
    QCOMPARE(int(p.startYear()), 26);
    QCOMPARE(p.mass(), 0x01020304u);
    QCOMPARE(p.duration(), 7200u);
    QCOMPARE(p.period(), 30u);
    QVERIFY(p.brakingRecord());
    QVERIFY(!p.temperatureNotObserved());
    QCOMPARE(int(p.hitPercent()), 95);
    QCOMPARE(p.volumeScale(), 0.02f);
    QCOMPARE(p.resistanceScale(), 1.5f);
    QCOMPARE(p.volumeOffset(), -1234);
    p.setMass(0x11223344);
    QCOMPARE(QByteArray(p.rawHeader() + 12, 4), QByteArray("\x44\x33\x22\x11", 4));
}

void TestProcessP::oldHeaderConversion() {
    char raw[ProcessP::OldHeaderSize] = {};
    for (int i = 0; i < 8; ++i)
        raw[i] = char(i + 1);
    for (int i = 0; i < 6; ++i)
        qToLittleEndian<quint32>(quint32(100 + i), raw + 8 + 4 * i);
    const double scales[4] = {0.01, 0.1, 0.2, 2.5};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<double>(scales[i], raw + 32 + 8 * i);
    qToLittleEndian<qint32>(-77, raw + 64);
    qToLittleEndian<quint32>(0xdeadbeef, raw + 68);
    const QByteArray old(raw, ProcessP::OldHeaderSize);

    const QByteArray h = ProcessP::convertOldHeader(old);
    QCOMPARE(h.size(), ProcessP::HeaderSize);
    QCOMPARE(h.left(32), old.left(32));
    QCOMPARE(h.mid(32, 4), QByteArray(4, '\0'));
    QCOMPARE(int(quint8(h[36])), 3);
    QCOMPARE(h.mid(37, 3), QByteArray(3, '\0'));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(qFromLittleEndian<float>(h.constData() + 40 + 4 * i), float(scales[i]));
    QCOMPARE(qFromLittleEndian<qint32>(h.constData() + 56), -77);
    QCOMPARE(qFromLittleEndian<quint32>(h.constData() + 60), 0xdeadbeefu);
    QCOMPARE(h.mid(64, 4), QByteArray(4, '\0'));
    // A short buffer is padded rather than read past its end.
    QCOMPARE(ProcessP::convertOldHeader(old.left(10)).left(8), old.left(8));
}

void TestProcessP::identityIsStartDurationAndPeriodOnly() {
    HeaderFields a;
    HeaderFields b = a;
    b.mass = 999;
    b.grade = 1;
    b.flags = 0;
    b.volumeScale = 3.0f;
    b.hitPercent = 50;
    QVERIFY(ProcessP::sameTest(header(a), header(b)));
    quint8 HeaderFields::*bytes[] = {&HeaderFields::second, &HeaderFields::minute,
                                     &HeaderFields::hour,   &HeaderFields::day,
                                     &HeaderFields::month,  &HeaderFields::year};
    for (auto field : bytes) {
        HeaderFields c = a;
        ++(c.*field);
        QVERIFY(!ProcessP::sameTest(header(a), header(c)));
    }
    HeaderFields d = a;
    d.duration++;
    QVERIFY(!ProcessP::sameTest(header(a), header(d)));
    d = a;
    d.period++;
    QVERIFY(!ProcessP::sameTest(header(a), header(d)));
    QVERIFY(!ProcessP::sameTest(header(a), header(a).left(20)));
}

void TestProcessP::startIndexAndContraction() {
    // Never rising: baseline b = v[0] + offset = 107, start at n - 1 and the
    // raw contraction v[n-1] - b - v[n-1] = -b.
    HeaderFields s;
    s.volumeScale = 0.01f;
    s.duration = 3000;
    s.period = 60; // n = 50
    s.volumeOffset = 7;
    QByteArray flat = samples(3);
    for (int i = 0; i < 50; ++i)
        setCount(flat, 3, 0, i, 100);
    ProcessP p(header(s), flat, 3);
    QCOMPARE(p.volumeBaseline(), 107);
    QCOMPARE(int(p.startIndex()), 49);
    QCOMPARE(p.contraction3h(), -107.0f);

    // v[i] = 2 (i - 9) from index 10, scale 0.05, offset 4: b = 4, the first
    // v[i] - b above 0.05 ml is index 12; e = 192: v[192] - b - v[12] = 366 - 4 - 6.
    s.volumeScale = 0.05f;
    s.duration = 500 * 60;
    s.volumeOffset = 4;
    QByteArray rising = samples(3);
    for (int i = 10; i < 500; ++i)
        setCount(rising, 3, 0, i, quint16(2 * (i - 9)));
    ProcessP q(header(s), rising, 3);
    QCOMPARE(int(q.startIndex()), 12);
    QCOMPARE(q.contraction3h(), 356.0f);
}

void TestProcessP::kindZeroDropsVolumeOffset() {
    HeaderFields s;
    s.volumeOffset = 55;
    ProcessP zero(header(s), samples(0), 0);
    QCOMPARE(zero.volumeOffset(), 0);
    QCOMPARE(qFromLittleEndian<qint32>(zero.rawHeader() + 56), 0);
    ProcessP three(header(s), samples(3), 3);
    QCOMPARE(three.volumeOffset(), 55);
}

void TestProcessP::hitCoefficientRounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("0.29") << 0.29 << 29;
    QTest::newRow("1.13") << 1.13 << 113;
    QTest::newRow("2.0") << 2.0 << 200;
    QTest::newRow("2.01") << 2.01 << 100;
    QTest::newRow("0.19") << 0.19 << 100;
    QTest::newRow("0.2") << 0.2 << 20;
    QTest::newRow("nan") << qQNaN() << 100;
}

void TestProcessP::hitCoefficientRounding() {
    QFETCH(double, value);
    QFETCH(int, stored);
    ProcessP p(header(), samples(1), 1);
    p.setHitCoefficient(value);
    QCOMPARE(int(p.hitPercent()), stored);
}

void TestProcessP::damagedRecordsStayInsideTheirBuffer() {
    HeaderFields s;
    s.period = 0;
    ProcessP zeroPeriod(header(s), samples(3), 3);
    QCOMPARE(zeroPeriod.pointCount(), 0u);
    QCOMPARE(zeroPeriod.contraction3h(), 0.0f);
    QVERIFY(zeroPeriod.volumeSamples(1).isEmpty());

    // duration / period far above the channel length: clamped to L.
    s.period = 1;
    s.duration = 1000000;
    ProcessP tooLong(header(s), samples(1), 1);
    QCOMPARE(tooLong.pointCount(), 2500u);
    QCOMPARE(int(tooLong.startIndex()), 2499);
    QCOMPARE(tooLong.volumeCount(-1), qint16(0));
    QCOMPARE(tooLong.volumeCount(2500), qint16(0));

    // A sample buffer shorter than the kind needs is zero-padded.
    ProcessP shortBuffer(header(s), QByteArray(10, '\x01'), 3);
    QCOMPARE(shortBuffer.samples().size(), ProcessP::sampleBytes(3));
    QCOMPARE(shortBuffer.resistanceCount(4319), quint16(0));

    ProcessP badKind(header(s), QByteArray(), 9);
    QCOMPARE(badKind.pointCount(), 0u);
    QVERIFY(badKind.temperatureSamples(false).isEmpty());
}

QTEST_APPLESS_MAIN(TestProcessP)
#include "tst_processp.moc"
