#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "charts/plotimage.h"
#include "charts/plottabs.h"
#include "charts/qwtchartzoom.h"
#include "curverecord.h"
#include "modalanswer.h"
#include "testprojects.h"
#include "testsettings.h"

#include <QClipboard>
#include <QMenu>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QtTest>
#include <csignal>
#include <functional>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>
#include <sys/resource.h>

using namespace testrecords;
using namespace testprojects;

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

// The tabs of a record; shown at a known size for the image commands.
struct Built {
    explicit Built(ProcessP *r, bool show = false) : record(r), plots(&tabs) {
        plots.buildGraphs(r);
        if (show) {
            tabs.resize(640, 480);
            tabs.show();
            QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        }
    }
    QwtPlot *volume() const { return plots.plot(PlotTabs::Volume); }
    PlotImage *image(const QString &chosen) {
        PlotImage *image = PlotImage::of(volume());
        image->setFileChooser([chosen](QWidget *, const QString &, const QString &, const QString &,
                                       QString *) { return chosen; });
        return image;
    }
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
    void oddRecords();
    void imageFilesWrittenAndReadable_data();
    void imageFilesWrittenAndReadable();
    void imageFormatFromExtensionOrFilter_data();
    void imageFormatFromExtensionOrFilter();
    void windowProposesFolderAndName();
    void replacingAsksAndFailedWritesSayWhy();
    void rightClickOpensTheMenuRightDragPans();
};

void TestPlotTabs::tabSetPerKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("titles");
    const QString two = "Volume, Reduced volume, Temperature, Volume/Temperature";
    QTest::newRow("kind 0") << 0 << two;
    QTest::newRow("kind 2") << 2
                            << "Volume, Reduced volume, Temperature, Resistance, Temperature of "
                               "cement, Volume/Temperature, Resistance/Temperature";
    QTest::newRow("unknown kind") << 7 << two;
}

void TestPlotTabs::tabSetPerKind() {
    QFETCH(int, kind);
    QFETCH(QString, titles);
    Built b(volumeRecord(quint8(kind), 300, risingFrom20));
    b.tabs.setCurrentIndex(2);
    b.plots.buildGraphs(b.record.get()); // a rebuild replaces the set
    QStringList actual;
    for (int i = 0; i < b.tabs.count(); ++i)
        actual << b.tabs.tabText(i);
    QCOMPARE(actual.join(", "), titles);
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
// A duration beyond the channel: only the points the channel holds.
void TestPlotTabs::oddRecords() {
    HeaderFields s;
    s.period = 0;
    Built zeroPeriod(new ProcessP(header(s), samples(3), 3));
    s.period = 60;
    s.duration = 59;
    Built tooShort(new ProcessP(header(s), samples(1), 1));
    s.duration = 60 * 100000;
    Built tooLong(new ProcessP(header(s), samples(3), 3));
    for (Built *b : {&zeroPeriod, &tooShort, &tooLong}) {
        const int points = b == &tooLong ? ProcessP::channelLength(3) : 0;
        QCOMPARE(b->tabs.count(), b->record->kind() == 3 ? 7 : 4);
        for (int t = 0; t < PlotTabs::TabCount; ++t) {
            if (QwtPlot *plot = b->plots.plot(PlotTabs::Tab(t))) {
                QVERIFY(points || markers(plot).isEmpty());
                for (const QwtPlotItem *c : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
                    QCOMPARE(int(static_cast<const QwtPlotCurve *>(c)->dataSize()), points);
                QVERIFY(!plot->grab().isNull());
            }
        }
    }
}

void TestPlotTabs::imageFilesWrittenAndReadable_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("png") << int(PlotImage::Png);
    QTest::newRow("svg") << int(PlotImage::Svg);
    QTest::newRow("pdf") << int(PlotImage::Pdf);
}

void TestPlotTabs::imageFilesWrittenAndReadable() {
    QFETCH(int, format);
    Built s(curveRecord(3), true);
    QTemporaryDir dir;
    const QString path = dir.filePath("plot");
    QString error;
    QVERIFY(PlotImage::save(s.volume(), path, PlotImage::Format(format), &error));
    QVERIFY(error.isEmpty());
    const QByteArray bytes = bytesOf(path);
    const QSize size = s.volume()->size();
    if (format == PlotImage::Png) {
        QImage image;
        QVERIFY(image.loadFromData(bytes, "PNG"));
        QCOMPARE(image.size(), size * 2);
        QCOMPARE(image.dotsPerMeterX(), qRound(s.volume()->logicalDpiX() / 0.0254) * 2);
        bool blue = false; // the curve is drawn
        for (int x = 0; x < image.width() && !blue; x += 2)
            for (int y = 0; y < image.height() && !blue; y += 2)
                blue = image.pixel(x, y) == qRgb(0, 0, 255);
        QVERIFY(blue);
        QApplication::clipboard()->clear();
        PlotImage::of(s.volume())->copyAction()->trigger();
        QCOMPARE(QApplication::clipboard()->image().size(), size * 2);
    } else if (format == PlotImage::Svg) {
        QSvgRenderer svg(bytes);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox().size(), size);
        QVERIFY(bytes.contains("<title>Volume</title>"));
    } else {
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
    }
}

void TestPlotTabs::imageFormatFromExtensionOrFilter_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("format");
    const QString png = "PNG image (*.png)", svg = "SVG image (*.svg)";
    QTest::newRow("extension wins") << "a.png" << svg << "a.png" << int(PlotImage::Png);
    QTest::newRow("any case") << "a.PDF" << png << "a.PDF" << int(PlotImage::Pdf);
    QTest::newRow("filter") << "a" << svg << "a.svg" << int(PlotImage::Svg);
    QTest::newRow("other extension") << "a.jpg" << png << "a.jpg.png" << int(PlotImage::Png);
}

void TestPlotTabs::imageFormatFromExtensionOrFilter() {
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(QString, path);
    QFETCH(int, format);
    QCOMPARE(int(PlotImage::formatFor(&chosen, filter)), format);
    QCOMPARE(chosen, path);
}

// The project's folder, the test's name (else its start) and the tab's title;
// the chosen filter gives the format.
void TestPlotTabs::windowProposesFolderAndName() {
    QTemporaryDir dir;
    TestSettings settings;
    MainWindow w;
    for (quint8 second : {1, 2}) {
        ProcessP *p = curveRecord(1, second);
        w.store().add(p);
        QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, p));
    }
    w.processModel()->item(0, 2)->setText("Batch 7/a");
    w.setFileChooser([&](const MainWindow::FileRequest &) { return dir.filePath("lab.vtl"); });
    QMetaObject::invokeMethod(&w, "saveAsProject");
    w.show();
    QStringList proposed;
    for (int row : {0, 1}) {
        QMetaObject::invokeMethod(&w, "addGraph",
                                  Q_ARG(QModelIndex, w.processModel()->index(row, 0)));
        PlotImage *image = PlotImage::of(w.plots()->plot(PlotTabs::Volume));
        image->setFileChooser([&](QWidget *, const QString &, const QString &p,
                                  const QString &filters, QString *filter) {
            proposed << p;
            *filter = filters.split(";;").value(1); // SVG
            return dir.filePath(QString("chosen%1").arg(proposed.size()));
        });
        image->saveAction()->trigger();
    }
    QCOMPARE(proposed, QStringList({dir.filePath("Batch 7-a - Volume.png"),
                                    dir.filePath("2026-06-15 10-30-02 - Volume.png")}));
    QVERIFY(QSvgRenderer(dir.filePath("chosen1.svg")).isValid());
    QVERIFY(QSvgRenderer(dir.filePath("chosen2.svg")).isValid());
}

// An extension appended makes an existing file: asked first. A folder that is
// a file, a disk that fills up halfway: the message says why, the old file
// stays and no partial file is left beside it.
void TestPlotTabs::replacingAsksAndFailedWritesSayWhy() {
    Built s(curveRecord(3), true);
    QTemporaryDir dir;
    const QString existing = dir.filePath("kept.png");
    writeFile(existing, "old");
    QString text, title;
    answerNextMessageBox(QMessageBox::No, &text);
    s.image(dir.filePath("kept"))->saveAction()->trigger();
    QCOMPARE(text, existing + " already exists. Do you want to replace it?");
    QCOMPARE(bytesOf(existing), QByteArray("old"));
    answerNextMessageBox(QMessageBox::Yes);
    s.image(dir.filePath("kept"))->saveAction()->trigger();
    QVERIFY(bytesOf(existing).startsWith("\x89PNG"));

    QString chosen = existing + "/plot.png";
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    s.image(chosen)->saveAction()->trigger();
    QCOMPARE(title, "Save image");
    QVERIFY2(text.startsWith("The image could not be written to " + chosen + ": ") &&
                 text.size() > chosen.size() + 36,
             qPrintable(text));

    chosen = dir.filePath("old.pdf");
    writeFile(chosen, "old");
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    std::signal(SIGXFSZ, SIG_IGN);
    answerNextMessageBox(QMessageBox::Ok, &text);
    PlotImage *image = s.image(chosen);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    image->saveAction()->trigger();
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(text, "The image could not be written to " + chosen + ": File too large");
    QCOMPARE(bytesOf(chosen), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"kept.png", "old.pdf"}));
}

void TestPlotTabs::rightClickOpensTheMenuRightDragPans() {
    Built s(curveRecord(3), true);
    for (int t = 0; t < PlotTabs::TabCount; ++t)
        QVERIFY(PlotImage::of(s.plots.plot(PlotTabs::Tab(t))));
    QMenu *menu = PlotImage::of(s.volume())->menu();
    QWidget *canvas = s.volume()->canvas();
    const QPoint middle = canvas->rect().center();
    QTest::mousePress(canvas, Qt::RightButton, {}, middle);
    QVERIFY(!menu->isVisible()); // not on the press: it may start a pan
    QTest::mouseRelease(canvas, Qt::RightButton, {}, middle);
    QTRY_VERIFY(menu->isVisible());
    menu->hide();

    const double before = s.volume()->canvasMap(QwtPlot::xBottom).s1();
    QTest::mousePress(canvas, Qt::RightButton, {}, middle);
    QMouseEvent move(QEvent::MouseMove, middle + QPoint(40, 0), Qt::NoButton, Qt::RightButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QTest::mouseRelease(canvas, Qt::RightButton, {}, middle + QPoint(40, 0));
    QVERIFY(s.volume()->canvasMap(QwtPlot::xBottom).s1() < before);
    QCOMPARE(s.plots.zoom(PlotTabs::Volume)->mode(), int(QwtChartZoom::Idle));
    QApplication::processEvents();
    QVERIFY(!menu->isVisible());

    QContextMenuEvent key(QContextMenuEvent::Keyboard, middle, canvas->mapToGlobal(middle));
    QApplication::sendEvent(canvas, &key); // the menu key opens it at once
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
}

QTEST_MAIN(TestPlotTabs)
#include "tst_plottabs.moc"
