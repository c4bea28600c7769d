#include "app/mainwindow.h"
#include "app/processmodel.h"
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
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>
#include <sys/resource.h>

using namespace testrecords;
using namespace testprojects;

namespace {
// 0.01 ml per count, by default first over 0.05 ml at index 20.
ProcessP *volumeRecord(
    quint8 kind, int points, HeaderFields s = {},
    const std::function<int(int)> &volume = [](int i) { return qMax(0, 10 * (i - 19)); }) {
    s.duration = quint32(points) * s.period;
    QByteArray block = samples(kind);
    for (int i = 0; i < points && i < ProcessP::channelLength(kind); ++i)
        setCount(block, kind, 0, i, quint16(volume(i)));
    return new ProcessP(header(s), block, kind);
}

// Saves the plot's image by its menu's command, the file dialog answering `chosen`; gives the
// path the dialog proposed.
QString saveAs(QwtPlot *plot, const QString &chosen) {
    QString proposed;
    PlotImage::of(plot)->setFileChooser(
        [&](QWidget *, const QString &, const QString &path, const QString &, QString *) {
            proposed = path;
            return chosen;
        });
    PlotImage::of(plot)->saveAction()->trigger();
    return proposed;
}

// The tabs of a record.
struct Built {
    explicit Built(ProcessP *r) : record(r), plots(&tabs) { plots.buildGraphs(r); }
    QwtPlot *volume() const { return plots.plot(PlotTabs::Volume); }
    std::unique_ptr<ProcessP> record;
    QTabWidget tabs;
    PlotTabs plots;
};
} // namespace

class TestPlotTabs : public QObject {
    Q_OBJECT
private slots:
    void tabsAndMarkers();
    void narrowRangeRule();
    void imageCommands();
    void windowProposesFolderAndName();
};

// The tab set per kind (7: unknown), rebuilt in place showing the volume, every tab painted.
// Markers: the start, three hours later (else the last point) and the values there; a green
// line at point 10; none without points.
void TestPlotTabs::tabsAndMarkers() {
    const QString four = "Volume, Reduced volume, Temperature, Volume/Temperature";
    const QString seven = "Volume, Reduced volume, Temperature, Resistance, Temperature of cement, "
                          "Volume/Temperature, Resistance/Temperature";
    const std::tuple<quint8, int, quint32, PlotTabs::Tab, QString> cases[] = {
        {1, 300, 60, PlotTabs::Volume,
         "20,0 t = 00:20:00 | 200,0 t = 03:20:00 | 0,0.1 v = 0.1 | 0,18.1 v = 18.1"},
        {1, 300, 60, PlotTabs::ReducedVolume,
         "20,0 t = 00:20:00 | 200,0 t = 03:20:00 | 0,0.25 v = 0.25 | 0,45.25 v = 45.25"}, // 400 g
        {7, 100, 60, PlotTabs::Volume, ""},
        {3, 300, 0, PlotTabs::ResistanceTemperature, ""},
        {0, 100, 60, PlotTabs::Volume,
         "20,0 t = 00:20:00 | 99,0 t = 01:39:00 | 0,0.1 v = 0.1 | 0,8 v = 8"},
        {2, 300, 60, PlotTabs::ResistanceTemperature, "10,10 "}};
    for (const auto &[kind, points, period, tab, markers] : cases) {
        HeaderFields s;
        s.period = period;
        Built b(volumeRecord(kind, points, s));
        b.tabs.setCurrentIndex(2);
        b.plots.buildGraphs(b.record.get());
        QStringList titles, shown;
        for (int i = 0; i < b.tabs.count(); ++i) {
            titles << b.tabs.tabText(i);
            QVERIFY(!b.tabs.widget(i)->grab().isNull());
            QVERIFY(PlotImage::of(static_cast<QwtPlot *>(b.tabs.widget(i)))); // its menu
        }
        QCOMPARE(titles.join(", "), kind == 2 || kind == 3 ? seven : four);
        QCOMPARE(b.tabs.currentWidget(), b.volume());
        for (const QwtPlotItem *item : b.plots.plot(tab)->itemList(QwtPlotItem::Rtti_PlotMarker)) {
            const auto *m = static_cast<const QwtPlotMarker *>(item);
            shown << QString("%1,%2 %3").arg(m->xValue()).arg(m->yValue()).arg(m->label().text());
        }
        QCOMPARE(shown.join(" | "), markers);
    }
}

// Under 2 ml the volume axes widen by 1 ml each way; 2 ml stay automatic.
void TestPlotTabs::narrowRangeRule() {
    HeaderFields s;
    s.volumeScale = 0.5f, s.mass = 1000;
    for (int top : {2, 4}) {
        Built b(volumeRecord(1, 50, s, [top](int i) { return i < 25 ? 0 : top; }));
        for (auto tab : {PlotTabs::Volume, PlotTabs::ReducedVolume, PlotTabs::VolumeTemperature}) {
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
        proposed << saveAs(w.plots()->plot(PlotTabs::Volume), QString());
    }
    QCOMPARE(proposed, QStringList({dir.filePath("Batch 7-a - Volume.png"),
                                    dir.filePath("2026-06-15 10-30-02 - Volume.png")}));
}

// Every tab's menu opens on a right click or the menu key, not on a right drag, which pans. An
// extension of ours wins over the filter, else the filter's is appended. Each format written
// and readable, the copy too; replacing is asked; a failed write says why and leaves the old
// file alone.
void TestPlotTabs::imageCommands() {
    Built s(curveRecord(3));
    s.tabs.resize(640, 480);
    s.tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.tabs));
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

    const std::tuple<QString, QString, QString, PlotImage::Format> formats[] = {
        {"a.png", "SVG image (*.svg)", "a.png", PlotImage::Png},
        {"a.PDF", "PNG image (*.png)", "a.PDF", PlotImage::Pdf},
        {"a", "SVG image (*.svg)", "a.svg", PlotImage::Svg},
        {"a.jpg", "PNG image (*.png)", "a.jpg.png", PlotImage::Png}};
    for (const auto &[chosen, filter, path, format] : formats) {
        QString name = chosen;
        QCOMPARE(PlotImage::formatFor(&name, filter), format);
        QCOMPARE(name, path);
    }

    QTemporaryDir dir;
    const QSize size = s.volume()->size();
    QString error, text, title;
    QVERIFY(PlotImage::save(s.volume(), dir.filePath("a.svg"), PlotImage::Svg, &error));
    QVERIFY(PlotImage::save(s.volume(), dir.filePath("a.pdf"), PlotImage::Pdf, &error));
    const QByteArray svg = bytesOf(dir.filePath("a.svg")), pdf = bytesOf(dir.filePath("a.pdf"));
    QVERIFY(svg.contains("<title>Volume</title>"));
    QCOMPARE(QSvgRenderer(svg).viewBox().size(), size);
    QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
    QApplication::clipboard()->clear();
    PlotImage::of(s.volume())->copyAction()->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), size * 2);

    const QString existing = dir.filePath("kept.png");
    writeFile(existing, "old");
    answerNextMessageBox(QMessageBox::No, &text);
    saveAs(s.volume(), dir.filePath("kept"));
    QCOMPARE(text, existing + " already exists. Do you want to replace it?");
    QCOMPARE(bytesOf(existing), QByteArray("old"));
    answerNextMessageBox(QMessageBox::Yes);
    saveAs(s.volume(), dir.filePath("kept"));
    const QImage image = QImage(existing, "PNG").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), size * 2);
    QCOMPARE(image.dotsPerMeterX(), qRound(s.volume()->logicalDpiX() / 0.0254) * 2);
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
    QVERIFY(std::count(pixels, pixels + image.width() * image.height(), qRgb(0, 0, 255))); // curve

    const QString chosen = dir.filePath("old.pdf");
    writeFile(chosen, "old");
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit small{1024, saved.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    saveAs(s.volume(), chosen);
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(title, "Save image");
    QCOMPARE(text, "The image could not be written to " + chosen + ": File too large");
    QCOMPARE(bytesOf(chosen), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"a.pdf", "a.svg", "kept.png", "old.pdf"}));
}

QTEST_MAIN(TestPlotTabs)
#include "tst_plottabs.moc"
