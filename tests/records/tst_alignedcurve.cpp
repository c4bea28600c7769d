#include "curverecord.h"
#include "records/alignedcurve.h"
#include "samplerecords.h"

#include <QtTest>
#include <limits>

// Curves laid from each test's start of measurement, and the tests that
// have no such curve.

using namespace samplerecords;

class TestAlignedCurve : public QObject {
    Q_OBJECT
private slots:
    void points_data();
    void points();
};

Q_DECLARE_METATYPE(AlignedCurve::Quantity)
Q_DECLARE_METATYPE(AlignedCurve::Exclusion)

void TestAlignedCurve::points_data() {
    QTest::addColumn<QByteArray>("header"); // of a kind 0 or 1 test
    QTest::addColumn<int>("kind");
    QTest::addColumn<AlignedCurve::Quantity>("quantity");
    QTest::addColumn<AlignedCurve::Exclusion>("why");
    HeaderFields noMass = longTestHeader(), noPeriod = longTestHeader(), noScale = longTestHeader();
    noMass.mass = 0;
    noPeriod.period = 0;
    noScale.volumeScale = std::numeric_limits<float>::quiet_NaN();
    const QByteArray four; // kind 3: the realistic curves of curverecord.h
    QTest::newRow("volume") << header(longTestHeader()) << 1 << AlignedCurve::Volume
                            << AlignedCurve::Included;
    QTest::newRow("reduced volume")
        << header(longTestHeader()) << 1 << AlignedCurve::ReducedVolume << AlignedCurve::Included;
    QTest::newRow("resistance, four channels")
        << four << 3 << AlignedCurve::Resistance << AlignedCurve::Included;
    QTest::newRow("cement temperature, four channels")
        << four << 3 << AlignedCurve::CementTemperature << AlignedCurve::Included;
    QTest::newRow("mass 0, reduced")
        << header(noMass) << 1 << AlignedCurve::ReducedVolume << AlignedCurve::NoMass;
    QTest::newRow("mass 0, volume")
        << header(noMass) << 1 << AlignedCurve::Volume << AlignedCurve::Included;
    QTest::newRow("two channels, resistance")
        << header(longTestHeader()) << 1 << AlignedCurve::Resistance << AlignedCurve::TwoChannels;
    QTest::newRow("two channels, cement")
        << header(longTestHeader()) << 0 << AlignedCurve::CementTemperature
        << AlignedCurve::TwoChannels;
    QTest::newRow("period 0") << header(noPeriod) << 1 << AlignedCurve::Volume
                              << AlignedCurve::NoPoints;
    QTest::newRow("no finite value")
        << header(noScale) << 1 << AlignedCurve::Volume << AlignedCurve::NoPoints;
}

void TestAlignedCurve::points() {
    QFETCH(QByteArray, header);
    QFETCH(int, kind);
    QFETCH(AlignedCurve::Quantity, quantity);
    QFETCH(AlignedCurve::Exclusion, why);
    QScopedPointer<ProcessP> built(kind == 3 ? testrecords::curveRecord(3)
                                             : new ProcessP(header, longSamples(), quint8(kind)));
    const ProcessP &record = *built;
    AlignedCurve::Exclusion found = AlignedCurve::Included;
    const QVector<QPointF> points = AlignedCurve::points(record, quantity, &found);
    QCOMPARE(found, why);
    if (why != AlignedCurve::Included) {
        QVERIFY(points.isEmpty());
        return;
    }
    // Point i lies (i - start) periods from the start, with the tab's value.
    const int start = record.startIndex();
    QVERIFY(start > 0);
    QCOMPARE(points.size(), int(record.pointCount()));
    QCOMPARE(points.first().x(), -double(start) * record.period());
    QCOMPARE(points.at(start).x(), 0.0);
    QCOMPARE(points.at(start + 3).x(), 3.0 * record.period());
    const QVector<QPointF> tab = quantity == AlignedCurve::Volume          ? record.volumeSamples(0)
                                 : quantity == AlignedCurve::ReducedVolume ? record.volumeSamples(1)
                                 : quantity == AlignedCurve::Resistance
                                     ? record.resistanceSamples()
                                     : record.temperatureSamples(true);
    QCOMPARE(points.at(start + 3).y(), tab.at(start + 3).y());
}

QTEST_GUILESS_MAIN(TestAlignedCurve)
#include "tst_alignedcurve.moc"
