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
#include <qwt_scale_map.h>
#include <sys/resource.h>

using namespace testrecords;
using namespace testprojects;

namespace {
// The seven tabs of a four-channel test, shown at a known size.
struct Shown {
    Shown() : record(curveRecord(3)), plots(&tabs) {
        plots.buildGraphs(record.get());
        tabs.resize(640, 480);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
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

class TestPlotImage : public QObject {
    Q_OBJECT
private slots:
    void filesWrittenAndReadable_data();
    void filesWrittenAndReadable();
    void formatFromExtensionOrFilter_data();
    void formatFromExtensionOrFilter();
    void windowProposesFolderAndName();
    void replacingAsksAndFailedWritesSayWhy();
    void rightClickOpensTheMenuRightDragPans();
};

void TestPlotImage::filesWrittenAndReadable_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("png") << int(PlotImage::Png);
    QTest::newRow("svg") << int(PlotImage::Svg);
    QTest::newRow("pdf") << int(PlotImage::Pdf);
}

void TestPlotImage::filesWrittenAndReadable() {
    QFETCH(int, format);
    Shown s;
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

void TestPlotImage::formatFromExtensionOrFilter_data() {
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

void TestPlotImage::formatFromExtensionOrFilter() {
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(QString, path);
    QFETCH(int, format);
    QCOMPARE(int(PlotImage::formatFor(&chosen, filter)), format);
    QCOMPARE(chosen, path);
}

// The project's folder, the test's name (else its start) and the tab's title;
// the chosen filter gives the format.
void TestPlotImage::windowProposesFolderAndName() {
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
void TestPlotImage::replacingAsksAndFailedWritesSayWhy() {
    Shown s;
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

void TestPlotImage::rightClickOpensTheMenuRightDragPans() {
    Shown s;
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

QTEST_MAIN(TestPlotImage)
#include "tst_plotimage.moc"
