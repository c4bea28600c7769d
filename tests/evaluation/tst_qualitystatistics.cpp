#include "evaluation/controlchart.h"
#include "evaluation/samplesummary.h"

#include <QtTest>

using Values = QVector<double>;
using Indices = QVector<int>;
Q_DECLARE_METATYPE(Values)
Q_DECLARE_METATYPE(Indices)

// The control chart of individual values and the statistics, on small sets
// worked out by hand.
class TestQualityStatistics : public QObject {
    Q_OBJECT
private slots:
    void chartAndSummary_data();
    void chartAndSummary();
};

void TestQualityStatistics::chartAndSummary_data() {
    QTest::addColumn<Values>("values");
    QTest::addColumn<Indices>("bounds"); // per value: -1, 0 or +1
    QTest::addColumn<int>("baseline");   // ControlChart::Baseline::Kind
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("baselineCount");
    QTest::addColumn<double>("centre");
    QTest::addColumn<double>("movingRange");
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("lowerWarning");
    QTest::addColumn<Indices>("beyond");
    QTest::addColumn<Indices>("runs"); // first, last of each
    QTest::addColumn<int>("leftOut");
    QTest::addColumn<double>("sd"); // of the numbers
    QTest::addColumn<double>("cv");
    const int all = ControlChart::Baseline::All, first = ControlChart::Baseline::First,
              dates = ControlChart::Baseline::Dates;
    // Mean 12, ranges 2 1 2 1; 12 +/- 2.66 x 1.5 and 12 - 2/3 of 3.99; sd sqrt(10/4).
    QTest::newRow("all shown") << Values{10, 12, 11, 13, 14} << Indices(5, 0) << all << 0 << 5
                               << 12.0 << 1.5 << 15.99 << 9.34 << Indices{} << Indices{} << 0
                               << 1.5811388 << 13.176157;
    // Limits from 10 12 11 (11 +/- 3.99); 20 lies beyond; the bound is left out.
    QTest::newRow("first three, a bound")
        << Values{10, 12, 11, 20, 71.1} << Indices{0, 0, 0, 0, 1} << first << 3 << 3 << 11.0 << 1.5
        << 14.99 << 8.34 << Indices{3} << Indices{} << 1 << 4.5734742 << 34.516787;
    // 12 11 13 of 2 to 4 January.
    QTest::newRow("dates") << Values{10, 12, 11, 13, 14} << Indices(5, 0) << dates << 0 << 3 << 12.0
                           << 1.5 << 15.99 << 9.34 << Indices{} << Indices{} << 0 << 1.5811388
                           << 13.176157;
    // Nine below the mean 3 make a run; ranges 0 x 8 and 20: 20/9.
    QTest::newRow("run of nine") << Values{1, 1, 1, 1, 1, 1, 1, 1, 1, 21} << Indices(10, 0) << all
                                 << 0 << 10 << 3.0 << 2.2222222 << 8.9111111 << -0.9407407
                                 << Indices{9} << Indices{0, 8} << 0 << 6.3245553 << 210.81851;
    // Eight in a row are not yet a run; a bound neither counts nor breaks one.
    QTest::newRow("eight and a bound")
        << Values{1, 1, 1, 1, 20, 1, 1, 1, 1, 9} << Indices{0, 0, 0, 0, -1, 0, 0, 0, 0, 0} << all
        << 0 << 9 << 1.8888889 << 1.0 << 4.5488889 << 0.1155556 << Indices{9} << Indices{} << 1
        << 2.6666667 << 141.17647;
}

void TestQualityStatistics::chartAndSummary() {
    QFETCH(Values, values);
    QFETCH(Indices, bounds);
    QFETCH(int, baseline);
    QFETCH(int, first);
    QVector<ControlChart::Point> points;
    Values numbers;
    for (int i = 0; i < values.size(); ++i) {
        points.append({values[i], bounds[i], QDate(2026, 1, 1 + i), i});
        if (!bounds[i])
            numbers << values[i];
    }
    ControlChart::Baseline b;
    b.kind = ControlChart::Baseline::Kind(baseline);
    b.first = first;
    b.from = QDate(2026, 1, 2);
    b.to = QDate(2026, 1, 4);
    const ControlChart chart(points, b);
    const SampleSummary s = SampleSummary::of(numbers);
    QFETCH(double, centre);
    QFETCH(double, movingRange);
    QFETCH(double, upper);
    QFETCH(double, lowerWarning);
    QFETCH(double, sd);
    QFETCH(double, cv);
    const double got[] = {chart.centre(),
                          chart.meanMovingRange(),
                          chart.upperLimit(),
                          chart.lowerWarning(),
                          s.sd,
                          s.cv};
    const double want[] = {centre, movingRange, upper, lowerWarning, sd, cv};
    for (int i = 0; i < 6; ++i)
        QVERIFY2(qAbs(got[i] - want[i]) < 1e-5, qPrintable(QString::number(got[i], 'g', 10)));
    QTEST(chart.baselineCount(), "baselineCount");
    QTEST(chart.beyond(), "beyond");
    Indices runs;
    for (const auto &run : chart.runs())
        runs << run.first << run.second;
    QTEST(runs, "runs");
    QTEST(chart.leftOut(), "leftOut");
    for (int i : runs)
        QVERIFY(chart.marked(i));
    QCOMPARE(s.n, numbers.size());
}

QTEST_APPLESS_MAIN(TestQualityStatistics)
#include "tst_qualitystatistics.moc"
