#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "charts/plottabs.h"
#include "table/monitor.h"
#include "modalanswer.h"
#include "records/processp.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

using namespace testrecords;

namespace {

// A short test of `kind` told apart by its start second, with a rising
// volume so that its plots have markers.
ProcessP *record(quint8 second, quint8 kind = 1) {
    HeaderFields s;
    s.second = second;
    s.duration = 300 * 60;
    QByteArray block = samples(kind);
    for (int i = 0; i < 300; ++i)
        setCount(block, kind, 0, i, quint16(i));
    return new ProcessP(header(s), block, kind);
}

// A window with one row per record, as a project load leaves it.
void addRows(MainWindow &w, const QList<ProcessP *> &records) {
    for (ProcessP *p : records) {
        QVERIFY(w.store().add(p));
        QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, p));
    }
}

// A mouse click on the row, as the user makes it.
void clickRow(MainWindow &w, int row, int column = 0) {
    ProcList *list = w.processList();
    const QRect rect = list->visualRect(w.processModel()->index(row, column));
    QVERIFY(rect.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void showWindow(MainWindow &w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace

class TestProcList : public QObject {
    Q_OBJECT
private slots:
    void clickShowsTheTestOnce();
    void descriptionsSurviveAClickElsewhere();
    void deleteLastRowShowsTheNewLast();
    void deleteMiddleRowShowsTheNextOne();
    void deleteOnlyRowLeavesNothing();
    void deleteSeveralSelectedRows();
};

void TestProcList::clickShowsTheTestOnce() {
    TestSettings settings;
    MainWindow w;
    addRows(w, {record(1, 3), record(2, 1)});
    showWindow(w);
    QVERIFY(!w.saveAction()->isEnabled());

    clickRow(w, 0);
    QCOMPARE(w.currentTest(), 0);
    QCOMPARE(w.plotTabWidget()->count(), 7);
    QCOMPARE(w.monitor()->currentRecord(), w.store().at(0));

    // Clicking it again (in any column) rebuilds nothing: the same plot with
    // its zoom state, and the description is not stored.
    QPointer<QwtPlot> volume = w.plots()->plot(PlotTabs::Volume);
    volume->setAxisScale(QwtPlot::xBottom, 5, 6);
    w.plotTabWidget()->setCurrentIndex(3);
    w.processDescription()->setPlainText(QStringLiteral("typed"));
    clickRow(w, 0, 2);
    QCOMPARE(w.plots()->plot(PlotTabs::Volume), volume.data());
    QVERIFY(!volume->axisAutoScale(QwtPlot::xBottom));
    QCOMPARE(w.plotTabWidget()->currentIndex(), 3);
    QVERIFY(w.store().at(0)->note().isEmpty());
    clickRow(w, 1);
    QCOMPARE(w.plotTabWidget()->count(), 4);
    QVERIFY(!volume);
}

void TestProcList::descriptionsSurviveAClickElsewhere() {
    TestSettings settings;
    MainWindow w;
    ProcessP *first = record(1);
    ProcessP *second = record(2);
    second->setNote(QStringLiteral("из проекта").toUtf8());
    addRows(w, {first, second});
    showWindow(w);

    // Filling the editor with a stored note does not modify the project.
    clickRow(w, 1);
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("из проекта"));
    QVERIFY(!w.saveAction()->isEnabled());

    clickRow(w, 0);
    QVERIFY(w.processDescription()->toPlainText().isEmpty());
    QTest::keyClicks(w.processDescription(), QStringLiteral("first test"));
    QVERIFY(w.saveAction()->isEnabled()); // typing does
    clickRow(w, 1);
    QCOMPARE(QString::fromUtf8(first->note()), QStringLiteral("first test"));
    w.processDescription()->setPlainText(QStringLiteral("второй"));
    clickRow(w, 0);
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("first test"));
    QCOMPARE(QString::fromUtf8(second->note()), QStringLiteral("второй"));
}

void TestProcList::deleteLastRowShowsTheNewLast() {
    TestSettings settings;
    MainWindow w;
    ProcessP *a = record(1, 1);
    ProcessP *b = record(2, 3);
    addRows(w, {a, b, record(3, 1)});
    showWindow(w);
    clickRow(w, 2);
    QString text, title;
    answerNextMessageBox(QMessageBox::Yes, &text, &title);
    QTest::keyClick(w.processList(), Qt::Key_Delete);
    QCOMPARE(title, QStringLiteral("Remove process"));
    QCOMPARE(text, QStringLiteral("Do you want to remove process?"));
    QCOMPARE(w.store().count(), 2);
    QCOMPARE(w.processModel()->rowCount(), 2);
    QCOMPARE(w.currentTest(), 1);
    QCOMPARE(w.store().at(0), a);
    QCOMPARE(w.monitor()->currentRecord(), b);
    QCOMPARE(w.plotTabWidget()->count(), 7); // b has four channels
    QVERIFY(w.saveAction()->isEnabled());
}

void TestProcList::deleteMiddleRowShowsTheNextOne() {
    TestSettings settings;
    MainWindow w;
    ProcessP *c = record(3, 2);
    c->setNote("third");
    addRows(w, {record(1), record(2), c});
    w.processModel()->item(2, 2)->setText(QStringLiteral("C"));
    showWindow(w);
    clickRow(w, 1);
    answerNextMessageBox(QMessageBox::Yes);
    QMetaObject::invokeMethod(&w, "deleteSelProc");
    QCOMPARE(w.currentTest(), 1);
    QCOMPARE(w.store().at(1), c);
    QCOMPARE(w.processModel()->item(1, 2)->text(), QStringLiteral("C"));
    QCOMPARE(w.monitor()->currentRecord(), c);
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("third"));
    QCOMPARE(w.plotTabWidget()->count(), 7);
}

void TestProcList::deleteOnlyRowLeavesNothing() {
    TestSettings settings;
    MainWindow w;
    addRows(w, {record(1, 3)});
    showWindow(w);
    clickRow(w, 0);
    answerNextMessageBox(QMessageBox::Yes);
    QMetaObject::invokeMethod(&w, "deleteSelProc");
    QCOMPARE(w.currentTest(), -1);
    QCOMPARE(w.store().count(), 0);
    QCOMPARE(w.processModel()->rowCount(), 0);
    QCOMPARE(w.plotTabWidget()->count(), 0);
    QVERIFY(!w.plots()->plot(PlotTabs::Volume));
    QVERIFY(!w.monitor()->currentRecord());
    QVERIFY(w.saveAction()->isEnabled());
    // Nothing is shown any more: no export, no description of the removed test.
    QVERIFY(!w.exportAction()->isEnabled());
    QVERIFY(w.processDescription()->toPlainText().isEmpty());
    QVERIFY(!w.processDescription()->isEnabled());
}

// Ctrl+click selects more rows; Delete asks once, naming how many.
void TestProcList::deleteSeveralSelectedRows() {
    TestSettings settings;
    MainWindow w;
    ProcessP *b = record(2);
    ProcessP *d = record(4, 3);
    addRows(w, {record(1), b, record(3), d, record(5)});
    showWindow(w);
    clickRow(w, 1);
    w.processDescription()->setPlainText(QStringLiteral("kept"));
    ProcList *list = w.processList();
    for (int row : {0, 2, 4})
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualRect(w.processModel()->index(row, 0)).center());
    QCOMPARE(w.currentTest(), 4); // the last row clicked
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(w.processModel()->index(1, 0)).center()); // b out again
    QCOMPARE(list->selectionModel()->selectedRows().size(), 3);

    QString text;
    answerNextMessageBox(QMessageBox::No, &text);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(text, QStringLiteral("Do you want to remove 3 processes?"));
    QCOMPARE(w.store().count(), 5);

    answerNextMessageBox(QMessageBox::Yes);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(w.store().count(), 2);
    QCOMPARE(w.processModel()->rowCount(), 2);
    QCOMPARE(w.store().at(0), b);
    QCOMPARE(w.store().at(1), d);
    // Row 4, the current one, went: the row now in place of the first removed one shows.
    QCOMPARE(w.currentTest(), 0);
    QCOMPARE(w.monitor()->currentRecord(), b);
    QCOMPARE(QString::fromUtf8(b->note()), QStringLiteral("kept"));
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("kept"));
    QVERIFY(w.saveAction()->isEnabled());
}

QTEST_MAIN(TestProcList)
#include "tst_proclist.moc"
