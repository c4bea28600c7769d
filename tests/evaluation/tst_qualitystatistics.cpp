#include "evaluation/controlchart.h"
#include "evaluation/samplesummary.h"

#include <QtTest>

// The control chart of individual values and the statistics, on small sets
// worked out by hand.
class TestQualityStatistics : public QObject {
    Q_OBJECT
private slots:
    void chartAndSummary_data();
    void chartAndSummary();
};

void TestQualityStatistics::chartAndSummary_data() {
    QTest::addColumn<QString>("values"); // of 1, 2, ... January; "<", ">": a bound of the table
    QTest::addColumn<int>("baseline");   // 0 all, -1 2 to 4 January, N the first N numbers
    // Centre, mean moving range, upper limit, lower warning; baseline count; left
    // out; beyond; runs (first-last, each marked); sd and CV of the numbers.
    QTest::addColumn<QString>("chart");
    // Limits from 10 12 11 (11 +/- 3.99); 20 lies beyond; the bound is left out.
    QTest::newRow("first three, a bound")
        << "10 12 11 20 >71.1" << 3
        << "11.0000 1.5000 14.9900 8.3400 n 3 out 1 beyond 3 runs sd 4.5735 cv 34.5168";
    // 12 11 13 of 2 to 4 January: mean 12, ranges 1 2; 12 +/- 2.66 x 1.5 and 12 - 2/3 of
    // 3.99; sd of all five sqrt(10/4).
    QTest::newRow("dates") << "10 12 11 13 14" << -1
                           << "12.0000 1.5000 15.9900 9.3400 n 3 out 0 beyond runs sd 1.5811 cv "
                              "13.1762";
    // Nine below the mean 3 make a run; ranges 0 x 8 and 20: 20/9.
    QTest::newRow("run of nine")
        << "1 1 1 1 1 1 1 1 1 21" << 0
        << "3.0000 2.2222 8.9111 -0.9407 n 10 out 0 beyond 9 runs 0-8 sd 6.3246 cv 210.8185";
    // Eight in a row are not yet a run; a bound neither counts nor breaks one.
    QTest::newRow("eight and a bound")
        << "1 1 1 1 <20 1 1 1 1 9" << 0
        << "1.8889 1.0000 4.5489 0.1156 n 9 out 1 beyond 9 runs sd 2.6667 cv 141.1765";
}

void TestQualityStatistics::chartAndSummary() {
    QFETCH(QString, values);
    QFETCH(int, baseline);
    QVector<ControlChart::Point> points;
    QVector<double> numbers;
    for (QString v : values.split(' ')) {
        const int bound = v.startsWith('>') ? 1 : v.startsWith('<') ? -1 : 0;
        points.append({v.remove(QRegularExpression("[<>]")).toDouble(), bound,
                       QDate(2026, 1, 1 + points.size()), points.size()});
        if (!bound)
            numbers << points.last().value;
    }
    using B = ControlChart::Baseline;
    const ControlChart chart(points, {B::Kind(baseline > 0 ? int(B::First) : -baseline),
                                      QDate(2026, 1, 2), QDate(2026, 1, 4), baseline});
    const SampleSummary s = SampleSummary::of(numbers);
    QString t = QString::asprintf("%.4f %.4f %.4f %.4f n %d out %d beyond", chart.centre(),
                                  chart.meanMovingRange(), chart.upperLimit(), chart.lowerWarning(),
                                  chart.baselineCount(), chart.leftOut());
    for (int i : chart.beyond())
        t += QString(" %1").arg(i);
    t += " runs";
    for (const auto &run : chart.runs())
        if (chart.marked(run.first) && chart.marked(run.second))
            t += QString(" %1-%2").arg(run.first).arg(run.second);
    QTEST(t + QString::asprintf(" sd %.4f cv %.4f", s.sd, s.cv), "chart");
}

QTEST_APPLESS_MAIN(TestQualityStatistics)
#include "tst_qualitystatistics.moc"
