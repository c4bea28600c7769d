#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "testsettings.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QtTest>

// The main window reading a simulated instrument chosen by SETROVIA_SIMULATOR.
class TestReadWindow : public QObject {
    Q_OBJECT
private slots:
    void readThroughTheSimulator();
    void closeDuringRead();
};

void TestReadWindow::readThroughTheSimulator() {
    TestSettings settings;
    qputenv("SETROVIA_SIMULATOR", "generation=newer;tests=3;latency-us=300");
    MainWindow w;
    qunsetenv("SETROVIA_SIMULATOR");
    w.show();
    QVERIFY(w.messageLog()->toPlainText().startsWith(
        "Simulated instrument (SETROVIA_SIMULATOR): newer generation, kind 2, 3 tests"));
    QProgressBar *bar = w.readProgressBar();
    QVERIFY(!bar->isVisible());

    QTRY_VERIFY(w.readAction()->isEnabled()); // the first presence check found it
    w.readAction()->trigger();
    QVERIFY(bar->isVisible());
    QTRY_VERIFY(bar->text().startsWith("Test "));
    // Test 2 of 4 at its start: one test of four done.
    QMetaObject::invokeMethod(&w, "readProgress", Q_ARG(int, 2), Q_ARG(int, 4), Q_ARG(int, 0),
                              Q_ARG(int, 100));
    QCOMPARE(bar->value(), 250);
    QCOMPARE(bar->text(), QStringLiteral("Test 2 of 4, packet 0 of 100"));

    QTRY_VERIFY(!w.isReading());
    QCOMPARE(w.processModel()->rowCount(), 3);
    QCOMPARE(w.store().count(), 3);
    QVERIFY(!bar->isVisible());
    QVERIFY(w.saveAction()->isEnabled());
}

void TestReadWindow::closeDuringRead() {
    TestSettings settings;
    // 200 tests at 1 ms per transfer would take minutes.
    qputenv("SETROVIA_SIMULATOR", "generation=older;version=2;tests=200;latency-us=1000");
    auto *w = new MainWindow;
    qunsetenv("SETROVIA_SIMULATOR");
    QTRY_VERIFY(w->readAction()->isEnabled());
    w->readAction()->trigger();
    QTRY_VERIFY(w->store().count() >= 1);
    // The destructor cuts the read short at its next transfer and waits for it.
    delete w;
}

QTEST_MAIN(TestReadWindow)
#include "tst_readwindow.moc"
