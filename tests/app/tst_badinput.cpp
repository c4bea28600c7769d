#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "charts/plottabs.h"
#include "evaluation/monitor.h"
#include "modalanswer.h"
#include "peakmemory.h"
#include "print/protocolpage.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "records/textexport.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QPrinter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>
#include <limits>
#include <qwt_plot_curve.h>
#include <sys/stat.h>

// Input damaged on purpose, through the window: project files that are no
// project files, and tests whose headers make no sense. Each gets a clear
// message or "?", and nothing held before is lost.

using namespace testrecords;

namespace {

// A sparse file of 1 GB that starts with the given bytes.
bool sparseGigabyte(const QString &path, const QByteArray &start) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(start) == start.size() &&
           f.resize(qint64(1) << 30);
}

QStringList column(MainWindow &w, int c) {
    QStringList out;
    for (int row = 0; row < w.processModel()->rowCount(); ++row)
        out << w.processModel()->item(row, c)->text();
    return out;
}

struct Window {
    TestSettings settings;
    QStringList answers;
    MainWindow w;
    Window() {
        w.setTitle("Setrovia+");
        w.setFileChooser([this](const MainWindow::FileRequest &) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    void open(const QString &path) {
        answers << path;
        w.openAction()->trigger();
    }
    void add(const QString &path) {
        answers << path;
        w.addProjectAction()->trigger();
    }
    void click(int row) {
        QMetaObject::invokeMethod(&w, "addGraph",
                                  Q_ARG(QModelIndex, w.processModel()->index(row, 0)));
        QCOMPARE(w.currentTest(), row);
    }
    QString value(int row) const { return w.monitor()->tableModel()->item(row, 1)->text(); }
    int points(PlotTabs::Tab tab) const {
        const QwtPlot *plot = w.plots()->plot(tab);
        if (!plot)
            return -1;
        const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
        return curves.isEmpty() ? -1
                                : int(static_cast<const QwtPlotCurve *>(curves[0])->dataSize());
    }
};

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void badProjectFilesChangeNothing_data();
    void badProjectFilesChangeNothing();
    void damagedTestsShowQuestionMarks();

private:
    QTemporaryDir dir_;
};

void TestBadInput::badProjectFilesChangeNothing_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    const QString cannotOpen = QStringLiteral("Can not open file");
    const QString wrongFormat = QStringLiteral("Wrong file format. Format must be \"format 04\"");

    const QString folder = dir_.filePath("folder.vtl");
    QVERIFY(QDir().mkpath(folder));
    QTest::newRow("a directory") << folder << cannotOpen;
    const QString empty = dir_.filePath("empty.vtl");
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    QTest::newRow("empty") << empty << wrongFormat;
    const QString zeros = dir_.filePath("zeros.vtl");
    QVERIFY(sparseGigabyte(zeros, QByteArray()));
    QTest::newRow("1 GB of zeros") << zeros << wrongFormat;
    const QString huge = dir_.filePath("huge.vtl");
    QVERIFY(sparseGigabyte(huge, QByteArray("format 04\x01", 10)));
    QTest::newRow("1 GB behind the format string")
        << huge
        << QStringLiteral("File %1 is too large to be a project file (at most 268435456 bytes).")
               .arg(huge);
    // Root reads any file whatever its mode; this one fails on the first read.
    QTest::newRow("unreadable") << QStringLiteral("/proc/self/mem") << cannotOpen;
    const QString fifo = dir_.filePath("pipe.vtl");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QTest::newRow("a pipe, which would never end") << fifo << cannotOpen;
    const QString dangling = dir_.filePath("dangling.vtl");
    QVERIFY(QFile::link(dir_.filePath("gone.vtl"), dangling));
    QTest::newRow("a link to nothing") << dangling << cannotOpen;
}

// Added to an open, edited project: the message, and the project as it was.
void TestBadInput::badProjectFilesChangeNothing() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    Window w;
    const QString good = dir_.filePath("good.vtl");
    {
        KeeperProc store;
        HeaderFields s;
        store.add(new ProcessP(header(s), samples(1), 1));
        s.second = 9;
        store.add(new ProcessP(header(s), samples(2), 2));
        QVERIFY(ProjectFile::save(good, store, "Проект", {"A", "B"}).ok());
    }
    w.open(good);
    w.w.projectDescription()->insertPlainText("!");
    const QString title = w.w.windowTitle();
    const ProcessP *first = w.w.store().at(0);

    const qint64 before = peakKb();
    QString text, boxTitle;
    answerNextMessageBox(QMessageBox::Ok, &text, &boxTitle);
    w.add(path);
    QCOMPARE(text, message);
    QCOMPARE(boxTitle, QStringLiteral("Setrovia+"));
    QVERIFY2(peakKb() - before < 64 * 1024, qPrintable(QString::number(peakKb() - before)));

    QCOMPARE(w.w.store().count(), 2);
    QCOMPARE(w.w.store().at(0), first);
    QCOMPARE(column(w.w, 2), QStringList({"A", "B"}));
    QCOMPARE(w.w.projectDescription()->toPlainText(), QStringLiteral("!Проект"));
    QCOMPARE(w.w.windowTitle(), title);
    QCOMPARE(w.w.projectFilePath(), good);
    QVERIFY(w.w.saveAction()->isEnabled());
}

void TestBadInput::damagedTestsShowQuestionMarks() {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    KeeperProc store;
    HeaderFields s;
    s.period = 0;
    store.add(new ProcessP(header(s), samples(2), 2));
    // duration / period far beyond the 2500 points of the channel.
    s = HeaderFields();
    s.second = 1;
    s.duration = 0xffffffffu;
    s.period = 1;
    store.add(new ProcessP(header(s), samples(2), 2));
    s = HeaderFields();
    s.second = 99;
    s.minute = 77;
    s.hour = 31;
    s.day = 0;
    s.month = 13;
    s.grade = 99;
    s.supplier = 0xffffffffu;
    auto *indexes = new ProcessP(header(s), samples(2), 2);
    indexes->setHardeningIndex(9);
    store.add(indexes);
    s = HeaderFields();
    s.second = 3;
    s.mass = 0;
    s.volumeScale = nan;
    s.temperatureScale = nan;
    s.cementTemperatureScale = std::numeric_limits<float>::infinity();
    s.resistanceScale = nan;
    QByteArray block = samples(2);
    for (int i = 0; i < 1440; ++i)
        for (int channel = 0; channel < 4; ++channel)
            setCount(block, 2, channel, i, quint16(100 + i));
    store.add(new ProcessP(header(s), block, 2));
    const QString path = dir_.filePath("damaged.vtl");
    QVERIFY(ProjectFile::save(path, store, QString(), {"period 0", "long", "indexes", "nan"}).ok());

    Window w;
    w.open(path);
    QCOMPARE(w.w.store().count(), 4);

    // Period 0: no points anywhere, nothing to evaluate.
    w.click(0);
    QCOMPARE(w.w.plotTabWidget()->count(), int(PlotTabs::TabCount));
    QCOMPARE(w.points(PlotTabs::Volume), 0);
    QCOMPARE(w.points(PlotTabs::Resistance), 0);
    QCOMPARE(w.value(Monitor::RowContraction), QStringLiteral("?"));
    QCOMPARE(w.value(Monitor::RowActivity), QStringLiteral("?"));

    // Clamped to the channel: every one of its 2500 points, no more.
    w.click(1);
    QCOMPARE(w.points(PlotTabs::Volume), 2500);
    QCOMPARE(w.points(PlotTabs::CementTemperature), 2500);

    // No such date or time; grade, supplier and hardening duration unknown.
    w.click(2);
    QCOMPARE(w.w.processModel()->item(2, 0)->text(), QStringLiteral("?"));
    QCOMPARE(w.w.processModel()->item(2, 1)->text(), QStringLiteral("?"));
    QCOMPARE(w.value(Monitor::RowGrade), QStringLiteral("Unknown"));
    QCOMPARE(w.value(Monitor::RowDays), QStringLiteral("?"));
    QCOMPARE(w.value(Monitor::RowActivity), QStringLiteral("?"));

    // NaN and infinite scales, mass 0: no point is a number, so the plots
    // stay empty, and the values show "?".
    w.click(3);
    for (int tab = 0; tab < PlotTabs::VolumeTemperature; ++tab)
        QCOMPARE(w.points(PlotTabs::Tab(tab)), 0);
    QCOMPARE(w.value(Monitor::RowContraction), QStringLiteral("?"));
    QCOMPARE(w.value(Monitor::RowContraction1k3), QStringLiteral("?"));
    QCOMPARE(w.value(Monitor::RowAverageTemperature), QStringLiteral("?"));
    QCOMPARE(w.value(Monitor::RowSpecificContraction), QStringLiteral("?"));

    // The printed protocols and the exports of all four.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setOutputFileName(dir_.filePath("damaged.pdf"));
    QList<const ProcessP *> all;
    for (int i = 0; i < 4; ++i)
        all << w.w.store().at(i);
    QVERIFY(ProtocolPage::print(&printer, all, [](const QString &) {}));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {"-layout", dir_.filePath("damaged.pdf"), "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QCOMPARE(printed.count(QStringLiteral("Протокол испытания")), 4);
    // The test without a real start date.
    QCOMPARE(printed.count(QStringLiteral("Начало ?")), 1);
    QCOMPARE(printed.count(QStringLiteral("Окончание ?")), 1);
    QCOMPARE(TextExport::lines(*all[0], QLocale::c()).size(), 1);
    QCOMPARE(TextExport::lines(*all[1], QLocale::c()).size(), 2501);
    QVERIFY(TextExport::lines(*all[3], QLocale::c()).at(1).contains("nan"));
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
