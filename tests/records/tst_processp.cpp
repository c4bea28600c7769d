#include "records/processp.h"
#include "testrecords.h"

#include <QtTest>

using namespace testrecords;

class TestProcessP : public QObject {
    Q_OBJECT
private slots:
    void headerFieldsReadFromTheirOffsets();
    void settersWriteInPlaceAndKeepOtherFlagBits();
    void oldHeaderConversion();
    void identityIsStartDurationAndPeriodOnly();
    void startIndexFirstSampleAboveFiftyMicrolitres();
    void startIndexNeverRising();
    void kindZeroDropsVolumeOffsetKindThreeKeepsIt();
    void contraction3hWindow();
    void contraction3hWindowCutAtLastPoint();
    void hitCoefficientRounding_data();
    void hitCoefficientRounding();
    void damagedRecordsStayInsideTheirBuffer();
    void startDate();
    void curveSamples();
    void curveSamplesSignedBaselineAndFloatFactor();
};

void TestProcessP::headerFieldsReadFromTheirOffsets() {
    HeaderFields s;
    s.second = 5;
    s.minute = 6;
    s.hour = 7;
    s.day = 8;
    s.month = 9;
    s.year = 26;
    s.mass = 0x01020304;
    s.grade = 6;
    s.supplier = 3;
    s.duration = 7200;
    s.period = 30;
    s.flags = 0xfd;
    s.hitPercent = 95;
    s.volumeScale = 0.02f;
    s.temperatureScale = 0.125f;
    s.cementTemperatureScale = 0.25f;
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
    QCOMPARE(p.grade(), 6u);
    QCOMPARE(p.supplier(), 3u);
    QCOMPARE(p.duration(), 7200u);
    QCOMPARE(p.period(), 30u);
    QCOMPARE(int(p.flags()), 0xfd);
    QVERIFY(p.brakingRecord());
    QVERIFY(!p.temperatureNotObserved());
    QCOMPARE(int(p.hitPercent()), 95);
    QCOMPARE(p.volumeScale(), 0.02f);
    QCOMPARE(p.temperatureScale(), 0.125f);
    QCOMPARE(p.cementTemperatureScale(), 0.25f);
    QCOMPARE(p.resistanceScale(), 1.5f);
    QCOMPARE(p.volumeOffset(), -1234);
    QCOMPARE(int(p.hardeningIndex()), 2);
    QVERIFY(p.note().isEmpty());
}

void TestProcessP::settersWriteInPlaceAndKeepOtherFlagBits() {
    HeaderFields s;
    s.flags = 0xf0;
    ProcessP p(header(s), samples(1), 1);
    p.setMass(0x11223344);
    QCOMPARE(QByteArray(p.rawHeader() + 12, 4), QByteArray("\x44\x33\x22\x11", 4));
    p.setGrade(7);
    p.setSupplier(2);
    QCOMPARE(p.grade(), 7u);
    QCOMPARE(p.supplier(), 2u);
    p.setBrakingRecord(true);
    QCOMPARE(int(p.flags()), 0xf1);
    p.setTemperatureNotObserved(true);
    QCOMPARE(int(p.flags()), 0xf3);
    p.setBrakingRecord(false);
    QCOMPARE(int(p.flags()), 0xf2);
    p.setHardeningIndex(0x105); // only the low byte is kept
    QCOMPARE(int(p.hardeningIndex()), 5);
    p.setNote(QByteArray("проба"));
    QCOMPARE(QString::fromUtf8(p.note()), QStringLiteral("проба"));
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
    QCOMPARE(h.left(8), old.left(8));
    QCOMPARE(h.mid(8, 24), old.mid(8, 24));
    QCOMPARE(h.mid(32, 4), QByteArray(4, '\0'));
    QCOMPARE(int(quint8(h[36])), 3);
    QCOMPARE(h.mid(37, 3), QByteArray(3, '\0'));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(qFromLittleEndian<float>(h.constData() + 40 + 4 * i), float(scales[i]));
    QCOMPARE(qFromLittleEndian<qint32>(h.constData() + 56), -77);
    QCOMPARE(qFromLittleEndian<quint32>(h.constData() + 60), 0xdeadbeefu);
    QCOMPARE(h.mid(64, 4), QByteArray(4, '\0'));

    // A record of kind 3 built from it keeps the offset and reads the fields.
    ProcessP p(h, samples(3), 3);
    QCOMPARE(p.mass(), 101u);
    QCOMPARE(p.duration(), 104u);
    QCOMPARE(p.period(), 105u);
    QCOMPARE(p.volumeOffset(), -77);
    QCOMPARE(int(p.hitPercent()), 0);

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
    b.resistanceScale = 7.0f;
    b.hitPercent = 50;
    QVERIFY(ProcessP::sameTest(header(a), header(b)));
    for (int field = 0; field < 8; ++field) {
        HeaderFields c = a;
        switch (field) {
        case 0:
            c.second++;
            break;
        case 1:
            c.minute++;
            break;
        case 2:
            c.hour++;
            break;
        case 3:
            c.day++;
            break;
        case 4:
            c.month++;
            break;
        case 5:
            c.year++;
            break;
        case 6:
            c.duration++;
            break;
        case 7:
            c.period++;
            break;
        }
        QVERIFY2(!ProcessP::sameTest(header(a), header(c)), qPrintable(QString::number(field)));
    }
    QVERIFY(!ProcessP::sameTest(header(a), header(a).left(20)));
}

void TestProcessP::startIndexFirstSampleAboveFiftyMicrolitres() {
    HeaderFields s;
    s.volumeScale = 0.02f;
    s.duration = 600;
    s.period = 60; // n = 10
    QByteArray block = samples(1);
    const quint16 v[] = {0, 0, 1, 3, 4, 5, 6, 7, 8, 9};
    for (int i = 0; i < 10; ++i)
        setCount(block, 1, 0, i, v[i]);
    ProcessP p(header(s), block, 1);
    QCOMPARE(int(p.startIndex()), 3); // 1 x 0.02 = 0.02 does not count, 3 x 0.02 does

    // The first sample itself above the threshold gives 0.
    setCount(block, 2, 0, 0, 3);
    ProcessP q(header(s), block, 2);
    QCOMPARE(int(q.startIndex()), 0);
}

void TestProcessP::startIndexNeverRising() {
    HeaderFields s;
    s.volumeScale = 0.01f;
    s.duration = 3000;
    s.period = 60; // n = 50
    s.volumeOffset = 7;
    QByteArray block = samples(3);
    for (int i = 0; i < 50; ++i)
        setCount(block, 3, 0, i, 100);
    ProcessP p(header(s), block, 3);
    // baseline b = v[0] + offset = 107; nothing rises above it.
    QCOMPARE(p.volumeBaseline(), 107);
    QCOMPARE(int(p.startIndex()), 49);
    // raw contraction v[n-1] - b - v[n-1] = -b
    QCOMPARE(p.contraction3h(), -107.0f);
}

void TestProcessP::kindZeroDropsVolumeOffsetKindThreeKeepsIt() {
    HeaderFields s;
    s.volumeOffset = 55;
    ProcessP zero(header(s), samples(0), 0);
    QCOMPARE(zero.volumeOffset(), 0);
    QCOMPARE(qFromLittleEndian<qint32>(zero.rawHeader() + 56), 0);
    ProcessP three(header(s), samples(3), 3);
    QCOMPARE(three.volumeOffset(), 55);
    ProcessP one(header(s), samples(1), 1);
    QCOMPARE(one.volumeBaseline(), 0); // kinds 1 and 2 have no baseline
}

void TestProcessP::contraction3hWindow() {
    // period 60: k3 = 180. Volume 0 up to index 9, then rising by 2 counts
    // per point from index 10: v[i] = 2 (i - 9). With scale 0.05 the first
    // point above 0.05 ml is index 10 (2 x 0.05 = 0.1).
    HeaderFields s;
    s.volumeScale = 0.05f;
    s.duration = 500 * 60; // n = 500
    s.period = 60;
    QByteArray block = samples(1);
    for (int i = 10; i < 500; ++i)
        setCount(block, 1, 0, i, quint16(2 * (i - 9)));
    ProcessP p(header(s), block, 1);
    QCOMPARE(int(p.startIndex()), 10);
    // e = 190: v[190] - v[10] = 2*181 - 2*1 = 360
    QCOMPARE(p.contraction3h(), 360.0f);

    // The same counts in a kind 3 record with an offset: the baseline is
    // subtracted once. b = v[0] + 4 = 4; v[i] - b > 0.05 ml first at index 12
    // (2*3 - 4 = 2 counts = 0.1 ml); e = 192: v[192] - b - v[12] = 366 - 4 - 6.
    s.volumeOffset = 4;
    QByteArray block3 = samples(3);
    for (int i = 10; i < 500; ++i)
        setCount(block3, 3, 0, i, quint16(2 * (i - 9)));
    ProcessP q(header(s), block3, 3);
    QCOMPARE(int(q.startIndex()), 12);
    QCOMPARE(q.contraction3h(), 356.0f);
}

void TestProcessP::contraction3hWindowCutAtLastPoint() {
    // n = 100 < s + k3: the window ends at n - 1.
    HeaderFields s;
    s.volumeScale = 0.1f;
    s.duration = 100 * 60;
    s.period = 60;
    QByteArray block = samples(2);
    for (int i = 0; i < 100; ++i)
        setCount(block, 2, 0, i, quint16(i));
    ProcessP p(header(s), block, 2);
    QCOMPARE(int(p.startIndex()), 1);
    QCOMPARE(p.contraction3h(), 98.0f);
}

void TestProcessP::hitCoefficientRounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("0.29") << 0.29 << 29;
    QTest::newRow("0.95") << 0.95 << 95;
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
    QCOMPARE(int(zeroPeriod.startIndex()), 0);
    QCOMPARE(zeroPeriod.contraction3h(), 0.0f);
    QVERIFY(zeroPeriod.volumeSamples(1).isEmpty());
    QVERIFY(zeroPeriod.resistanceSamples().isEmpty());

    // duration / period far above the channel length: clamped to L.
    s.period = 1;
    s.duration = 1000000;
    ProcessP tooLong(header(s), samples(1), 1);
    QCOMPARE(tooLong.pointCount(), 2500u);
    QCOMPARE(tooLong.volumeSamples(0).size(), 2500);
    QCOMPARE(int(tooLong.startIndex()), 2499);

    // A sample buffer shorter than the kind needs is zero-padded.
    ProcessP shortBuffer(header(s), QByteArray(10, '\x01'), 3);
    QCOMPARE(shortBuffer.samples().size(), ProcessP::sampleBytes(3));
    QCOMPARE(shortBuffer.resistanceSamples().size(), 4320);
    QCOMPARE(shortBuffer.resistanceCount(4319), quint16(0));

    // An unknown kind has no channels at all.
    ProcessP badKind(header(s), QByteArray(), 9);
    QCOMPARE(badKind.pointCount(), 0u);
    QCOMPARE(badKind.volumeCount(0), qint16(0));
    QVERIFY(badKind.temperatureSamples(false).isEmpty());

    // Out-of-range indexes read as 0.
    QCOMPARE(tooLong.volumeCount(-1), qint16(0));
    QCOMPARE(tooLong.volumeCount(2500), qint16(0));
    // Two-channel records have no cement temperature or resistance points.
    QVERIFY(tooLong.temperatureSamples(true).isEmpty());
    QVERIFY(tooLong.resistanceSamples().isEmpty());
}

void TestProcessP::startDate() {
    HeaderFields s;
    s.year = 26;
    s.month = 3;
    s.day = 4;
    s.hour = 5;
    s.minute = 6;
    s.second = 7;
    ProcessP p(header(s), samples(1), 1);
    QCOMPARE(p.startDateTime(), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    s.month = 13;
    ProcessP bad(header(s), samples(1), 1);
    QVERIFY(!bad.startDateTime().isValid());
    // A good date at 24:60:60 is no time of that day, not its midnight.
    s.month = 3;
    s.hour = 24;
    s.minute = 60;
    s.second = 60;
    ProcessP badTime(header(s), samples(1), 1);
    QVERIFY(!badTime.startDateTime().isValid());
}

void TestProcessP::curveSamples() {
    HeaderFields s;
    s.volumeScale = 0.01f;
    s.temperatureScale = 0.1f;
    s.cementTemperatureScale = 0.2f;
    s.resistanceScale = 2.0f;
    s.mass = 400;
    s.duration = 300;
    s.period = 60; // n = 5
    QByteArray block = samples(2);
    setCount(block, 2, 0, 0, 120);
    setCount(block, 2, 0, 1, 200);
    setCount(block, 2, 1, 0, quint16(-15));
    setCount(block, 2, 2, 0, 250);
    setCount(block, 2, 3, 0, 0xffff);
    ProcessP p(header(s), block, 2);
    const QVector<QPointF> v = p.volumeSamples(0);
    QCOMPARE(v.size(), 5);
    QCOMPARE(v[0].y(), 120 * double(0.01f));
    QCOMPARE(v[4].x(), 4.0);
    const QVector<QPointF> r = p.volumeSamples(1);
    QCOMPARE(r[1].y(), 200 * double(0.01f) * double(float(1000.0 / 400)));
    QCOMPARE(p.volumeSamples(7)[1].y(), v[1].y()); // other variants are plain volume
    QCOMPARE(p.temperatureSamples(false)[0].y(), -15 * double(0.1f));
    QCOMPARE(p.temperatureSamples(true)[0].y(), 250 * double(0.2f));
    QCOMPARE(p.resistanceSamples()[0].y(), 65535 * 2.0 / 1000.0);

    // Kind 0: the first point is the baseline.
    ProcessP zero(header(s), block.left(ProcessP::sampleBytes(0)), 0);
    QCOMPARE(zero.volumeSamples(0)[0].y(), 0.0);

    // Mass 0: the reduced volume is not finite.
    s.mass = 0;
    ProcessP noMass(header(s), block, 2);
    QVERIFY(!qIsFinite(noMass.volumeSamples(1)[1].y()));

    // duration below one period: no points at all.
    s.duration = 59;
    ProcessP empty(header(s), block, 2);
    QVERIFY(empty.volumeSamples(0).isEmpty());
    QVERIFY(empty.temperatureSamples(false).isEmpty());
}

void TestProcessP::curveSamplesSignedBaselineAndFloatFactor() {
    // Kind 3 with offset 10 and a negative first count -5: baseline 5, so a
    // count of -1 is 6 counts below it. Scale 0.5 ml per count.
    HeaderFields s;
    s.volumeScale = 0.5f;
    s.resistanceScale = 2.0f;
    s.volumeOffset = 10;
    s.duration = 180;
    s.period = 60; // n = 3
    QByteArray block = samples(3);
    setCount(block, 3, 0, 0, quint16(-5));
    setCount(block, 3, 0, 1, quint16(-1));
    setCount(block, 3, 0, 2, 32767);
    setCount(block, 3, 3, 1, 0x8000);
    ProcessP p(header(s), block, 3);
    const QVector<QPointF> v = p.volumeSamples(0);
    QCOMPARE(v.size(), 3);
    QCOMPARE(v[0].y(), -5.0);    // (-5 - 5) x 0.5
    QCOMPARE(v[1].y(), -3.0);    // (-1 - 5) x 0.5
    QCOMPARE(v[2].y(), 16381.0); // (32767 - 5) x 0.5
    QCOMPARE(v[2].x(), 2.0);
    // 0x8000 is an unsigned count: 32768 x 2 / 1000 kOhm.
    QCOMPARE(p.resistanceSamples()[1].y(), 65.536);

    // The reduced-volume factor 1000 / mass is rounded to a float first:
    // for 3 g that is 333.33334350585938, not 333.333...
    s.mass = 3;
    QByteArray one = samples(1);
    setCount(one, 1, 0, 0, 2);
    ProcessP q(header(s), one, 1);
    QCOMPARE(q.volumeSamples(1)[0].y(), 333.33334350585938); // 2 x 0.5 x f
}

QTEST_APPLESS_MAIN(TestProcessP)
#include "tst_processp.moc"
