#include "charts/plotpicker.h"
#include "charts/plotpickerr.h"
#include "charts/plotpickerrt.h"
#include "charts/plottabs.h"
#include "charts/plotterscaledraw.h"
#include "charts/qwtchartzoom.h"
#include "testrecords.h"

#include <QTabWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <qwt_picker_machine.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>

using namespace testrecords;

namespace {

using Record = std::unique_ptr<ProcessP>;

// A record of `kind` whose volume counts come from `volume(i)`; the other
// channels are 0.
Record volumeRecord(quint8 kind, quint32 points, quint32 period,
                    const std::function<int(int)> &volume, HeaderFields s = HeaderFields()) {
    s.period = period;
    s.duration = points * period;
    QByteArray block = samples(kind);
    for (int i = 0; i < int(points) && i < ProcessP::channelLength(kind); ++i)
        setCount(block, kind, 0, i, quint16(volume(i)));
    return Record(new ProcessP(header(s), block, kind));
}

// Counts 0 up to index 19, then 10 more per point: with 0.01 ml per count
// the volume first exceeds 0.05 ml at index 20 (0.1 ml).
int risingFrom20(int i) {
    return i < 20 ? 0 : 10 * (i - 19);
}

QStringList tabTitles(const QTabWidget &tabs) {
    QStringList titles;
    for (int i = 0; i < tabs.count(); ++i)
        titles << tabs.tabText(i);
    return titles;
}

template <class Item> QList<Item *> items(const QwtPlot *plot, int rtti) {
    QList<Item *> list;
    for (QwtPlotItem *item : plot->itemList(rtti))
        list << static_cast<Item *>(item);
    return list;
}

QList<QwtPlotMarker *> markers(const QwtPlot *plot) {
    return items<QwtPlotMarker>(plot, QwtPlotItem::Rtti_PlotMarker);
}

QList<QwtPlotCurve *> curves(const QwtPlot *plot) {
    return items<QwtPlotCurve>(plot, QwtPlotItem::Rtti_PlotCurve);
}

struct Built {
    explicit Built(const ProcessP *record) : plots(&tabs) { plots.buildGraphs(record); }
    QTabWidget tabs;
    PlotTabs plots;
};

} // namespace

class TestPlotTabs : public QObject {
    Q_OBJECT
private slots:
    void tabSetPerKind_data();
    void tabSetPerKind();
    void dressOfEveryTab();
    void volumeMarkers();
    void endMarkerClampedToLastPoint();
    void startOnLastPointWhenNeverRising();
    void longPeriodMarkers();
    void narrowRangeRule();
    void recordWithoutPoints();
    void reducedVolumeWithoutMass();
    void clearReleasesEverything();
};

void TestPlotTabs::tabSetPerKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("titles");
    const QStringList two{"Volume", "Reduced volume", "Temperature", "Volume/Temperature"};
    const QStringList four{"Volume",
                           "Reduced volume",
                           "Temperature",
                           "Resistance",
                           "Temperature of cement",
                           "Volume/Temperature",
                           "Resistance/Temperature"};
    QTest::newRow("kind 0") << 0 << two;
    QTest::newRow("kind 1") << 1 << two;
    QTest::newRow("kind 2") << 2 << four;
    QTest::newRow("kind 3") << 3 << four;
    QTest::newRow("unknown kind") << 7 << two;
}

void TestPlotTabs::tabSetPerKind() {
    QFETCH(int, kind);
    QFETCH(QStringList, titles);
    Record record = volumeRecord(quint8(kind), 300, 60, risingFrom20);
    QTabWidget tabs;
    PlotTabs plots(&tabs);
    plots.buildGraphs(record.get());
    tabs.setCurrentIndex(2);
    plots.buildGraphs(record.get()); // a rebuild replaces the set
    QCOMPARE(tabTitles(tabs), titles);
    QCOMPARE(tabs.currentIndex(), 0);
    QCOMPARE(tabs.currentWidget(), plots.plot(PlotTabs::Volume));
    const bool four = titles.size() == 7;
    QCOMPARE(plots.plot(PlotTabs::Resistance) != nullptr, four);
    QCOMPARE(plots.plot(PlotTabs::CementTemperature) != nullptr, four);
    QCOMPARE(plots.plot(PlotTabs::ResistanceTemperature) != nullptr, four);
    for (int t = 0; t < PlotTabs::TabCount; ++t) {
        QwtPlot *plot = plots.plot(PlotTabs::Tab(t));
        QCOMPARE(plots.zoom(PlotTabs::Tab(t)) != nullptr, plot != nullptr);
        if (plot) {
            QCOMPARE(plots.zoom(PlotTabs::Tab(t))->plot(), plot);
            QVERIFY(tabs.indexOf(plot) >= 0);
        }
    }
    // Any variant but 0 and 1 builds nothing.
    plots.addVolumeGraph(record.get(), 2);
    QCOMPARE(tabs.count(), titles.size());
}

void TestPlotTabs::dressOfEveryTab() {
    Record record = volumeRecord(3, 300, 60, risingFrom20);
    Built b(record.get());
    struct Expect {
        PlotTabs::Tab tab;
        const char *title, *left, *right;
        QColor canvas;
        QList<QPair<QColor, int>> curves;
        const char *picker;
        QColor band;
    };
    const QColor yellow(255, 255, 200), lilac(215, 215, 240);
    // clang-format off
    const QList<Expect> expected{
        {PlotTabs::Volume, "Volume", "Volume, ml", "", yellow,
         {{Qt::blue, QwtPlot::yLeft}}, "PlotPicker", Qt::blue},
        {PlotTabs::ReducedVolume, "Reduced volume", "Volume, ml", "", yellow,
         {{Qt::blue, QwtPlot::yLeft}}, "PlotPicker", Qt::blue},
        {PlotTabs::Temperature, "Temperature", "Temperature, °C", "", yellow,
         {{Qt::red, QwtPlot::yLeft}}, "PlotPicker", Qt::red},
        {PlotTabs::Resistance, "Resistance", "Resistance, kOm", "", yellow,
         {{Qt::blue, QwtPlot::yLeft}}, "PlotPickerR", Qt::blue},
        {PlotTabs::CementTemperature, "Temperature of cement", "Temperature, °C", "", yellow,
         {{Qt::red, QwtPlot::yLeft}}, "PlotPicker", Qt::red},
        {PlotTabs::VolumeTemperature, "Reduced volume - Temperature", "Volume, ml",
         "Temperature, °C", lilac, {{Qt::blue, QwtPlot::yLeft}, {Qt::red, QwtPlot::yRight}},
         "PlotPicker", Qt::blue},
        {PlotTabs::ResistanceTemperature, "Resistance - Temperature of cement",
         "Resistance, kOm", "Temperature, °C", lilac,
         {{Qt::blue, QwtPlot::yLeft}, {Qt::red, QwtPlot::yRight}}, "PlotPickerRT", Qt::blue},
    };
    // clang-format on
    for (const Expect &e : expected) {
        const QwtPlot *plot = b.plots.plot(e.tab);
        QVERIFY(plot);
        QCOMPARE(plot->title().text(), QString::fromUtf8(e.title));
        QCOMPARE(plot->axisTitle(QwtPlot::yLeft).text(), QString::fromUtf8(e.left));
        QCOMPARE(plot->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Time"));
        const bool dual = *e.right != 0;
        QCOMPARE(plot->axisEnabled(QwtPlot::yRight), dual);
        if (dual)
            QCOMPARE(plot->axisTitle(QwtPlot::yRight).text(), QString::fromUtf8(e.right));
        QCOMPARE(plot->canvasBackground().color(), e.canvas);

        const QList<QwtPlotCurve *> cs = curves(plot);
        QCOMPARE(cs.size(), e.curves.size());
        for (int i = 0; i < cs.size(); ++i) {
            QCOMPARE(cs[i]->pen().color(), e.curves[i].first);
            QCOMPARE(cs[i]->yAxis(), e.curves[i].second);
            QCOMPARE(int(cs[i]->dataSize()), 300);
            QVERIFY(cs[i]->title().isEmpty());
        }

        const auto *scale =
            dynamic_cast<const PlotterScaleDraw *>(plot->axisScaleDraw(QwtPlot::xBottom));
        QVERIFY(scale);
        QCOMPARE(scale->period(), 60u);

        const QList<QwtPlotGrid *> grids = items<QwtPlotGrid>(plot, QwtPlotItem::Rtti_PlotGrid);
        QCOMPARE(grids.size(), 1);
        QVERIFY(grids[0]->xMinEnabled() && grids[0]->yMinEnabled());
        QCOMPARE(grids[0]->minorPen(), QPen(Qt::gray, 0, Qt::DotLine));
        QCOMPARE(grids[0]->majorPen(), QPen(Qt::gray, 0, Qt::DotLine));

        const QList<PlotPicker *> pickers = plot->canvas()->findChildren<PlotPicker *>();
        QCOMPARE(pickers.size(), 1);
        const PlotPicker *p = pickers[0];
        QCOMPARE(p->metaObject()->className(), e.picker);
        QCOMPARE(p->period(), 60u);
        QCOMPARE(p->rubberBand(), QwtPicker::CrossRubberBand);
        QCOMPARE(p->rubberBandPen().color(), e.band);
        QCOMPARE(p->trackerPen().color(), QColor(Qt::black));
        QCOMPARE(p->trackerMode(), QwtPicker::AlwaysOn);
        QCOMPARE(p->yAxis(), int(QwtPlot::yLeft));
        QVERIFY(dynamic_cast<const QwtPickerDragPointMachine *>(p->stateMachine()));
    }
    // The one marker of the resistance/temperature tab: point index 10.
    const QList<QwtPlotMarker *> rt = markers(b.plots.plot(PlotTabs::ResistanceTemperature));
    QCOMPARE(rt.size(), 1);
    QCOMPARE(rt[0]->lineStyle(), QwtPlotMarker::VLine);
    QCOMPARE(rt[0]->value(), QPointF(10, 10));
    QCOMPARE(rt[0]->linePen(), QPen(Qt::green, 1, Qt::DashDotLine));
    QVERIFY(rt[0]->label().isEmpty());
    QVERIFY(markers(b.plots.plot(PlotTabs::Temperature)).isEmpty());
    QVERIFY(markers(b.plots.plot(PlotTabs::VolumeTemperature)).isEmpty());
}

void TestPlotTabs::volumeMarkers() {
    // n = 300 of 60 s; s = 20 (0.1 ml); e = 20 + 10800 / 60 = 200, where
    // the count is 1810: 18.1 ml, or 45.25 ml per 1000 g of the 400 g.
    Record record = volumeRecord(1, 300, 60, risingFrom20);
    Built b(record.get());
    struct Expect {
        PlotTabs::Tab tab;
        const char *vs, *ve;
    };
    for (const Expect &e : {Expect{PlotTabs::Volume, "v = 0.1", "v = 18.1"},
                            Expect{PlotTabs::ReducedVolume, "v = 0.25", "v = 45.25"}}) {
        const QList<QwtPlotMarker *> m = markers(b.plots.plot(e.tab));
        QCOMPARE(m.size(), 4);
        QCOMPARE(m[0]->lineStyle(), QwtPlotMarker::VLine);
        QCOMPARE(m[0]->value(), QPointF(20, 0));
        QCOMPARE(m[0]->label().text(), QStringLiteral("t = 00:20:00"));
        QCOMPARE(int(m[0]->labelAlignment()), int(Qt::AlignRight | Qt::AlignCenter));
        QCOMPARE(m[0]->linePen(), QPen(Qt::magenta, 0, Qt::DashDotLine));
        QCOMPARE(m[1]->lineStyle(), QwtPlotMarker::VLine);
        QCOMPARE(m[1]->value(), QPointF(200, 0));
        QCOMPARE(m[1]->label().text(), QStringLiteral("t = 03:20:00"));
        QCOMPARE(int(m[1]->labelAlignment()), int(Qt::AlignLeft | Qt::AlignTop));
        QCOMPARE(m[1]->linePen(), QPen(Qt::darkBlue, 0, Qt::DashDotLine));
        QCOMPARE(m[2]->lineStyle(), QwtPlotMarker::HLine);
        QCOMPARE(m[2]->xValue(), 0.0);
        QCOMPARE(m[2]->label().text(), QString::fromLatin1(e.vs));
        QCOMPARE(int(m[2]->labelAlignment()), int(Qt::AlignTop | Qt::AlignCenter));
        QCOMPARE(m[2]->linePen(), QPen(Qt::magenta, 0, Qt::DashDotLine));
        QCOMPARE(m[3]->lineStyle(), QwtPlotMarker::HLine);
        QCOMPARE(m[3]->label().text(), QString::fromLatin1(e.ve));
        QCOMPARE(int(m[3]->labelAlignment()), int(Qt::AlignBottom | Qt::AlignCenter));
        QCOMPARE(m[3]->linePen(), QPen(Qt::darkBlue, 0, Qt::DashDotLine));
        const QwtText label = m[0]->label();
        QCOMPARE(label.font().family(), QStringLiteral("Helvetica"));
        QCOMPARE(label.font().pointSize(), 10);
        QCOMPARE(label.font().weight(), int(QFont::Bold));
        QVERIFY(!label.font().italic());
        QCOMPARE(label.color(), QColor(200, 150, 0));
        for (const QwtPlotMarker *marker : m)
            QVERIFY(marker->title().isEmpty());
    }
    // Both tabs mark the same points: the y of the reduced curve is 2.5 x.
    const QList<QwtPlotMarker *> v = markers(b.plots.plot(PlotTabs::Volume));
    const QList<QwtPlotMarker *> r = markers(b.plots.plot(PlotTabs::ReducedVolume));
    QCOMPARE(r[3]->yValue(), v[3]->yValue() * 2.5);
    QCOMPARE(v[3]->yValue(), 1810 * double(0.01f));
    // On a long test the end line stands in the left half: its label goes right.
    Record longer = volumeRecord(1, 2000, 60, risingFrom20);
    Built wide(longer.get());
    QCOMPARE(int(markers(wide.plots.plot(PlotTabs::Volume))[1]->labelAlignment()),
             int(Qt::AlignRight | Qt::AlignTop));
}

void TestPlotTabs::endMarkerClampedToLastPoint() {
    // n = 100: three hours after index 20 lies beyond the last point 99
    // (01:39:00), where the count is 800.
    Record record = volumeRecord(2, 100, 60, risingFrom20);
    Built b(record.get());
    const QList<QwtPlotMarker *> m = markers(b.plots.plot(PlotTabs::Volume));
    QCOMPARE(m[0]->xValue(), 20.0);
    QCOMPARE(m[1]->xValue(), 99.0);
    QCOMPARE(m[1]->label().text(), QStringLiteral("t = 01:39:00"));
    QCOMPARE(m[3]->label().text(), QStringLiteral("v = 8"));
}

void TestPlotTabs::startOnLastPointWhenNeverRising() {
    // Kind 3 with a raw zero of 300 counts and offset 0: the baseline is the
    // first count, and 0.04 ml above it never counts as a start.
    HeaderFields s;
    Record record = volumeRecord(
        3, 50, 60, [](int i) { return i < 10 ? 300 : 304; }, s);
    Built b(record.get());
    for (PlotTabs::Tab tab : {PlotTabs::Volume, PlotTabs::ReducedVolume}) {
        const QList<QwtPlotMarker *> m = markers(b.plots.plot(tab));
        QCOMPARE(m.size(), 4);
        QCOMPARE(m[0]->xValue(), 49.0);
        QCOMPARE(m[1]->xValue(), 49.0);
        QCOMPARE(m[0]->label().text(), QStringLiteral("t = 00:49:00"));
        QCOMPARE(m[2]->yValue(), m[3]->yValue());
    }
    QCOMPARE(markers(b.plots.plot(PlotTabs::Volume))[2]->yValue(), 4 * double(0.01f));
}

void TestPlotTabs::longPeriodMarkers() {
    // Period 300 s: three hours are 36 points, e = 56, 16800 s = 04:40:00.
    Record record = volumeRecord(1, 100, 300, risingFrom20);
    Built b(record.get());
    const QList<QwtPlotMarker *> m = markers(b.plots.plot(PlotTabs::Volume));
    QCOMPARE(m[0]->label().text(), QStringLiteral("t = 01:40:00"));
    QCOMPARE(m[1]->xValue(), 56.0);
    QCOMPARE(m[1]->label().text(), QStringLiteral("t = 04:40:00"));
}

void TestPlotTabs::narrowRangeRule() {
    // 0.5 ml per count and 1000 g, so the reduced volume equals the volume.
    HeaderFields s;
    s.volumeScale = 0.5f;
    s.mass = 1000;
    const auto leftRange = [](QwtPlot *plot) {
        plot->updateAxes(); // as the first paint would
        const QwtScaleDiv &d = plot->axisScaleDiv(QwtPlot::yLeft);
        return QPair<double, double>(d.lowerBound(), d.upperBound());
    };
    {
        // Counts 0..2: 0 to 1 ml, an automatic range of 1.0, widened by 1.
        Record record = volumeRecord(
            1, 50, 60, [](int i) { return i < 25 ? 0 : 2; }, s);
        Built b(record.get());
        for (PlotTabs::Tab tab :
             {PlotTabs::Volume, PlotTabs::ReducedVolume, PlotTabs::VolumeTemperature}) {
            QwtPlot *plot = b.plots.plot(tab);
            QVERIFY(!plot->axisAutoScale(QwtPlot::yLeft));
            QCOMPARE(leftRange(plot), qMakePair(-1.0, 2.0));
            QVERIFY(plot->axisAutoScale(QwtPlot::xBottom));
        }
        QVERIFY(b.plots.plot(PlotTabs::VolumeTemperature)->axisAutoScale(QwtPlot::yRight));
        // The rule is only for the volume tabs.
        QVERIFY(b.plots.plot(PlotTabs::Temperature)->axisAutoScale(QwtPlot::yLeft));
    }
    {
        // Counts 0..4: 0 to 2 ml, exactly 2.0 wide: stays automatic.
        Record record = volumeRecord(
            1, 50, 60, [](int i) { return i < 25 ? 0 : 4; }, s);
        Built b(record.get());
        for (PlotTabs::Tab tab :
             {PlotTabs::Volume, PlotTabs::ReducedVolume, PlotTabs::VolumeTemperature}) {
            QwtPlot *plot = b.plots.plot(tab);
            QVERIFY(plot->axisAutoScale(QwtPlot::yLeft));
            QCOMPARE(leftRange(plot), qMakePair(0.0, 2.0));
        }
    }
}

void TestPlotTabs::recordWithoutPoints() {
    // Period 0, and a duration shorter than one period: no points at all.
    HeaderFields s;
    s.period = 0;
    s.duration = 86400;
    Record zeroPeriod(new ProcessP(header(s), samples(3), 3));
    s.period = 60;
    s.duration = 59;
    Record tooShort(new ProcessP(header(s), samples(1), 1));
    for (const ProcessP *record : {zeroPeriod.get(), tooShort.get()}) {
        Built b(record);
        QCOMPARE(b.tabs.count(), record->kind() == 3 ? 7 : 4);
        for (int t = 0; t < PlotTabs::TabCount; ++t) {
            const QwtPlot *plot = b.plots.plot(PlotTabs::Tab(t));
            if (!plot)
                continue;
            QVERIFY(markers(plot).isEmpty());
            for (const QwtPlotCurve *c : curves(plot))
                QCOMPARE(int(c->dataSize()), 0);
            // It still paints.
            QVERIFY(!const_cast<QwtPlot *>(plot)->grab().isNull());
        }
    }
}

void TestPlotTabs::reducedVolumeWithoutMass() {
    // Mass 0: the reduced volume is not a finite number anywhere; its curves
    // stay empty and its value markers are left out, the time markers stay.
    HeaderFields s;
    s.mass = 0;
    Record record = volumeRecord(1, 300, 60, risingFrom20, s);
    Built b(record.get());
    QCOMPARE(int(curves(b.plots.plot(PlotTabs::ReducedVolume))[0]->dataSize()), 0);
    QCOMPARE(int(curves(b.plots.plot(PlotTabs::VolumeTemperature))[0]->dataSize()), 0);
    QCOMPARE(int(curves(b.plots.plot(PlotTabs::VolumeTemperature))[1]->dataSize()), 300);
    const QList<QwtPlotMarker *> m = markers(b.plots.plot(PlotTabs::ReducedVolume));
    QCOMPARE(m.size(), 2);
    QCOMPARE(m[1]->label().text(), QStringLiteral("t = 03:20:00"));
    QCOMPARE(markers(b.plots.plot(PlotTabs::Volume)).size(), 4);
    QVERIFY(!b.plots.plot(PlotTabs::ReducedVolume)->grab().isNull());
}

void TestPlotTabs::clearReleasesEverything() {
    Record record = volumeRecord(3, 300, 60, risingFrom20);
    auto tabs = std::make_unique<QTabWidget>();
    PlotTabs plots(tabs.get());
    plots.buildGraphs(record.get());
    QList<QPointer<QObject>> built;
    for (int t = 0; t < PlotTabs::TabCount; ++t) {
        built << plots.plot(PlotTabs::Tab(t)) << plots.zoom(PlotTabs::Tab(t));
        QVERIFY(built.last());
    }
    plots.clearGraphs();
    QCOMPARE(tabs->count(), 0);
    for (const QPointer<QObject> &object : built)
        QVERIFY(!object);
    for (int t = 0; t < PlotTabs::TabCount; ++t) {
        QVERIFY(!plots.plot(PlotTabs::Tab(t)));
        QVERIFY(!plots.zoom(PlotTabs::Tab(t)));
    }
    // The tab widget may go before the tabs object (the window closing).
    plots.buildGraphs(record.get());
    tabs.reset();
    QVERIFY(!plots.plot(PlotTabs::Volume));
    plots.clearGraphs();
}

QTEST_MAIN(TestPlotTabs)
#include "tst_plottabs.moc"
