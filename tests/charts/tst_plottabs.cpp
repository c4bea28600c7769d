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
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>
#include <sys/resource.h>

using namespace testrecords;
using namespace testprojects;

namespace {
// 0.01 ml per count: the volume first exceeds 0.05 ml at index 20.
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
    void tabSetPerKind();
    void volumeMarkers();
    void narrowRangeRule();
    void noPointsStillPainted();
    void imageFilesWrittenAndReadable();
    void imageFormatFromExtensionOrFilter();
    void windowProposesFolderAndName();
    void replacingAsksAndFailedWritesSayWhy();
    void rightClickOpensTheMenuRightDragPans();
};

// A rebuild replaces the set and shows the volume.
void TestPlotTabs::tabSetPerKind() {
    const QString two = "Volume, Reduced volume, Temperature, Volume/Temperature";
    const QString seven = "Volume, Reduced volume, Temperature, Resistance, Temperature of cement, "
                          "Volume/Temperature, Resistance/Temperature";
    for (quint8 kind : {0, 2, 7}) { // 7: unknown
        Built b(volumeRecord(kind, 300, risingFrom20));
        b.tabs.setCurrentIndex(2);
        b.plots.buildGraphs(b.record.get());
        QStringList actual;
        for (int i = 0; i < b.tabs.count(); ++i)
            actual << b.tabs.tabText(i);
        QCOMPARE(actual.join(", "), kind == 2 ? seven : two);
        QCOMPARE(b.tabs.currentWidget(), b.plots.plot(PlotTabs::Volume));
        if (kind == 2) // a green line at point 10
            QCOMPARE(markers(b.plots.plot(PlotTabs::ResistanceTemperature))[0]->xValue(), 10.0);
    }
}

// The start at index 20; the end three hours later, at 200, where the count is 1810.
void TestPlotTabs::volumeMarkers() {
    Built b(volumeRecord(1, 300, risingFrom20));
    const char *expected[] = {
        "20,0 t = 00:20:00 | 200,0 t = 03:20:00 | 0,0.1 v = 0.1 | 0,18.1 v = 18.1",
        "20,0 t = 00:20:00 | 200,0 t = 03:20:00 | 0,0.25 v = 0.25 | 0,45.25 v = 45.25"}; // 400 g
    for (PlotTabs::Tab tab : {PlotTabs::Volume, PlotTabs::ReducedVolume}) {
        QStringList shown;
        for (const QwtPlotMarker *m : markers(b.plots.plot(tab)))
            shown << QString("%1,%2 %3").arg(m->xValue()).arg(m->yValue()).arg(m->label().text());
        QCOMPARE(shown.join(" | "), expected[tab == PlotTabs::ReducedVolume]);
    }
    Built cut(volumeRecord(1, 100, risingFrom20)); // shorter than three hours: its last point
    QCOMPARE(markers(cut.volume())[1]->xValue(), 99.0);
}

// Under 2 ml the volume axes widen by 1 ml each way; 2 ml stay automatic.
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

void TestPlotTabs::noPointsStillPainted() {
    HeaderFields s;
    s.period = 0;
    Built b(new ProcessP(header(s), samples(3), 3));
    QCOMPARE(b.tabs.count(), 7);
    for (int t = 0; t < PlotTabs::TabCount; ++t) {
        if (QwtPlot *plot = b.plots.plot(PlotTabs::Tab(t)))
            QVERIFY(markers(plot).isEmpty() && !plot->grab().isNull());
    }
}

void TestPlotTabs::imageFilesWrittenAndReadable() {
    Built s(curveRecord(3), true);
    QTemporaryDir dir;
    const QSize size = s.volume()->size();
    QString error;
    for (PlotImage::Format format : {PlotImage::Png, PlotImage::Svg, PlotImage::Pdf})
        QVERIFY(PlotImage::save(s.volume(), dir.filePath(QString::number(format)), format, &error));
    QVERIFY(error.isEmpty());
    QImage image;
    QVERIFY(image.loadFromData(bytesOf(dir.filePath("0")), "PNG"));
    QCOMPARE(image.size(), size * 2);
    QCOMPARE(image.dotsPerMeterX(), qRound(s.volume()->logicalDpiX() / 0.0254) * 2);
    bool blue = false; // the curve is drawn
    for (int x = 0; x < image.width() && !blue; x += 2)
        for (int y = 0; y < image.height() && !blue; y += 2)
            blue = image.pixel(x, y) == qRgb(0, 0, 255);
    QVERIFY(blue);
    const QByteArray svg = bytesOf(dir.filePath("1"));
    QVERIFY(svg.contains("<title>Volume</title>"));
    QCOMPARE(QSvgRenderer(svg).viewBox().size(), size);
    const QByteArray pdf = bytesOf(dir.filePath("2"));
    QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
    QApplication::clipboard()->clear();
    PlotImage::of(s.volume())->copyAction()->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), size * 2);
}

// An extension of ours wins over the filter; else the filter's is appended.
void TestPlotTabs::imageFormatFromExtensionOrFilter() {
    const QString png = "PNG image (*.png)", svg = "SVG image (*.svg)";
    const struct {
        QString chosen, filter, path;
        PlotImage::Format format;
    } cases[] = {{"a.png", svg, "a.png", PlotImage::Png},
                 {"a.PDF", png, "a.PDF", PlotImage::Pdf},
                 {"a", svg, "a.svg", PlotImage::Svg},
                 {"a.jpg", png, "a.jpg.png", PlotImage::Png}};
    for (const auto &c : cases) {
        QString chosen = c.chosen;
        QCOMPARE(PlotImage::formatFor(&chosen, c.filter), c.format);
        QCOMPARE(chosen, c.path);
    }
}

// The project's folder, the test's name (else its start) and the tab's title.
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

// Replacing is asked; a failed write says why and leaves the old file alone.
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

    const QString chosen = dir.filePath("old.pdf");
    writeFile(chosen, "old");
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    std::signal(SIGXFSZ, SIG_IGN);
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    PlotImage *image = s.image(chosen);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    image->saveAction()->trigger();
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(title, "Save image");
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
