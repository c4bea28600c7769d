#include "charts/plottabs.h"
#include "testrecords.h"

#include <QTabWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>

using namespace testrecords;

namespace {
// Counts 0 up to index 19, then 10 more per point: with 0.01 ml per count the
// volume first exceeds 0.05 ml at index 20.
int risingFrom20(int i) {
    return qMax(0, 10 * (i - 19));
}

ProcessP *volumeRecord(quint8 kind, int points, const std::function<int(int)> &volume,
                       HeaderFields s = {}) {
    s.duration = quint32(points) * s.period;
    QByteArray block = samples(kind);
    for (int i = 0; i < points && i < ProcessP::channelLength(kind); ++i)
        setCount(block, kind, 0, i, quint16(volume(i)));
    return new ProcessP(header(s), block, kind);
}

QList<QwtPlotMarker *> markers(const QwtPlot *plot) {
    QList<QwtPlotMarker *> list;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotMarker))
        list << static_cast<QwtPlotMarker *>(item);
    return list;
}

struct Built {
    explicit Built(ProcessP *r) : record(r), plots(&tabs) { plots.buildGraphs(r); }
    std::unique_ptr<ProcessP> record;
    QTabWidget tabs;
    PlotTabs plots;
};
} // namespace

class TestPlotTabs : public QObject {
    Q_OBJECT
private slots:
    void tabSetPerKind_data();
    void tabSetPerKind();
    void volumeMarkers_data();
    void volumeMarkers();
    void narrowRangeRule();
    void recordWithoutPoints();
};

void TestPlotTabs::tabSetPerKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("titles");
    const QStringList two{"Volume", "Reduced volume", "Temperature", "Volume/Temperature"};
    QTest::newRow("kind 0") << 0 << two;
    QTest::newRow("kind 2") << 2
                            << QStringList{"Volume",
                                           "Reduced volume",
                                           "Temperature",
                                           "Resistance",
                                           "Temperature of cement",
                                           "Volume/Temperature",
                                           "Resistance/Temperature"};
    QTest::newRow("unknown kind") << 7 << two;
}

void TestPlotTabs::tabSetPerKind() {
    QFETCH(int, kind);
    QFETCH(QStringList, titles);
    Built b(volumeRecord(quint8(kind), 300, risingFrom20));
    b.tabs.setCurrentIndex(2);
    b.plots.buildGraphs(b.record.get()); // a rebuild replaces the set
    QStringList actual;
    for (int i = 0; i < b.tabs.count(); ++i)
        actual << b.tabs.tabText(i);
    QCOMPARE(actual, titles);
    QCOMPARE(b.tabs.currentWidget(), b.plots.plot(PlotTabs::Volume));
}

void TestPlotTabs::volumeMarkers_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("neverRising");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QString>("endText");
    QTest::addColumn<QString>("endVolume");
    // e = 20 + 10800 / 60 = 200, where the count is 1810: 18.1 ml.
    QTest::newRow("three hours") << 1 << 300 << false << 20.0 << 200.0 << "t = 03:20:00"
                                 << "v = 18.1";
    // Three hours after index 20 lie beyond the last point 99 (count 800).
    QTest::newRow("end clamped") << 2 << 100 << false << 20.0 << 99.0 << "t = 01:39:00"
                                 << "v = 8";
    // Kind 3 measures from the first count, 300: 0.04 ml above it is no start.
    QTest::newRow("never rising") << 3 << 50 << true << 49.0 << 49.0 << "t = 00:49:00"
                                  << "v = 0.04";
}

void TestPlotTabs::volumeMarkers() {
    QFETCH(int, kind);
    QFETCH(int, points);
    QFETCH(bool, neverRising);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QString, endText);
    QFETCH(QString, endVolume);
    const auto flat = [](int i) { return i < 10 ? 300 : 304; };
    Built b(volumeRecord(quint8(kind), points, neverRising ? flat : risingFrom20));
    const QList<QwtPlotMarker *> v = markers(b.plots.plot(PlotTabs::Volume));
    const QList<QwtPlotMarker *> r = markers(b.plots.plot(PlotTabs::ReducedVolume));
    QCOMPARE(v.size(), 4);
    QCOMPARE(v[0]->xValue(), start);
    QCOMPARE(v[1]->xValue(), end);
    QCOMPARE(v[1]->label().text(), endText);
    QCOMPARE(v[3]->label().text(), endVolume);
    QCOMPARE(r[3]->yValue(), v[3]->yValue() * 2.5); // 400 g
}

// 0.5 ml per count and 1000 g: counts 0..2 span 1 ml, widened by 1 each way;
// 0..4 span exactly 2 ml and stay automatic.
void TestPlotTabs::narrowRangeRule() {
    HeaderFields s;
    s.volumeScale = 0.5f;
    s.mass = 1000;
    for (int top : {2, 4}) {
        Built b(volumeRecord(
            1, 50, [top](int i) { return i < 25 ? 0 : top; }, s));
        for (PlotTabs::Tab tab :
             {PlotTabs::Volume, PlotTabs::ReducedVolume, PlotTabs::VolumeTemperature}) {
            QwtPlot *plot = b.plots.plot(tab);
            plot->updateAxes(); // as the first paint would
            const QwtScaleDiv &d = plot->axisScaleDiv(QwtPlot::yLeft);
            QCOMPARE(plot->axisAutoScale(QwtPlot::yLeft), top == 4);
            QCOMPARE(d.lowerBound(), top == 4 ? 0.0 : -1.0);
            QCOMPARE(d.upperBound(), 2.0);
        }
        QVERIFY(b.plots.plot(PlotTabs::Temperature)->axisAutoScale(QwtPlot::yLeft));
    }
}

// Period 0, or a duration shorter than one period: no points, still painted.
void TestPlotTabs::recordWithoutPoints() {
    HeaderFields s;
    s.period = 0;
    Built zeroPeriod(new ProcessP(header(s), samples(3), 3));
    s.period = 60;
    s.duration = 59;
    Built tooShort(new ProcessP(header(s), samples(1), 1));
    for (Built *b : {&zeroPeriod, &tooShort}) {
        QCOMPARE(b->tabs.count(), b->record->kind() == 3 ? 7 : 4);
        for (int t = 0; t < PlotTabs::TabCount; ++t) {
            if (QwtPlot *plot = b->plots.plot(PlotTabs::Tab(t))) {
                QVERIFY(markers(plot).isEmpty());
                for (const QwtPlotItem *c : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
                    QCOMPARE(int(static_cast<const QwtPlotCurve *>(c)->dataSize()), 0);
                QVERIFY(!plot->grab().isNull());
            }
        }
    }
}

QTEST_MAIN(TestPlotTabs)
#include "tst_plottabs.moc"
