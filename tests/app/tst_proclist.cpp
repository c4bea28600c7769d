#include "app/keytranslator.h"
#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "charts/plottabs.h"
#include "curverecord.h"
#include "modalanswer.h"
#include "records/processp.h"
#include "table/monitor.h"
#include "testsettings.h"

#include <QAction>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

using namespace testrecords;

namespace {

// The settings live longer than the window.
struct Window : TestSettings, MainWindow {
    // One row per record, as a project load leaves them; active for the shortcuts.
    void showTests(const QList<ProcessP *> &records) {
        setTitle("Setrovia+");
        for (ProcessP *p : records) {
            QVERIFY(store().add(p));
            QMetaObject::invokeMethod(this, "addProc", Q_ARG(ProcessP *, p));
        }
        show();
        QApplication::setActiveWindow(this);
        QVERIFY(QTest::qWaitForWindowActive(this));
    }
    void click(int row, int column = 0, Qt::KeyboardModifiers keys = {}) {
        const QRect rect = processList()->visualRect(processModel()->index(row, column));
        QVERIFY(rect.isValid());
        QTest::mouseClick(processList()->viewport(), Qt::LeftButton, keys, rect.center());
    }
};

} // namespace

class TestProcList : public QObject {
    Q_OBJECT
private slots:
    void clickShowsTheTestOnce();
    void deleteFollowsTheSelectionAndFocus();
    void keysTriggerTheirCommand();
};

// A click shows the test; clicking it again (in any column) rebuilds nothing.
// Its description is kept when another row is clicked.
void TestProcList::clickShowsTheTestOnce() {
    Window w;
    QTextEdit *note = w.processDescription();
    ProcessP *first = curveRecord(3, 1), *second = curveRecord(1, 2);
    second->setNote(QStringLiteral("из проекта").toUtf8());
    w.showTests({first, second});
    // Filling the editor with a stored note does not modify the project.
    w.click(1);
    QCOMPARE(note->toPlainText(), QStringLiteral("из проекта"));
    QVERIFY(!w.saveAction()->isEnabled());

    w.click(0);
    QCOMPARE(w.monitor()->currentRecord(), first);
    QVERIFY(note->toPlainText().isEmpty());
    QPointer<QwtPlot> volume = w.plots()->plot(PlotTabs::Volume);
    volume->setAxisScale(QwtPlot::xBottom, 5, 6);
    w.plotTabWidget()->setCurrentIndex(3);
    QTest::keyClicks(note, QStringLiteral("first test"));
    QVERIFY(w.saveAction()->isEnabled()); // typing does
    w.click(0, 2);
    QCOMPARE(w.plots()->plot(PlotTabs::Volume), volume.data());
    QVERIFY(!volume->axisAutoScale(QwtPlot::xBottom));
    QCOMPARE(w.plotTabWidget()->currentIndex(), 3);

    w.click(1);
    QCOMPARE(w.plotTabWidget()->count(), 4);
    QVERIFY(!volume);
    QCOMPARE(QString::fromUtf8(first->note()), QStringLiteral("first test"));
    note->setPlainText(QStringLiteral("второй"));
    w.click(0);
    QCOMPARE(note->toPlainText(), QStringLiteral("first test"));
    QCOMPARE(QString::fromUtf8(second->note()), QStringLiteral("второй"));
}

// Delete removes tests only from the list (in an editor it deletes a
// character), asking once for the selected rows; then the row now in the
// first removed one's place shows and is selected, or the new last; then nothing.
void TestProcList::deleteFollowsTheSelectionAndFocus() {
    Window w;
    ProcList *list = w.processList();
    QTextEdit *note = w.processDescription();
    ProcessP *b = curveRecord(1, 2), *d = curveRecord(3, 4);
    w.showTests({curveRecord(1, 1), b, curveRecord(1, 3), d, curveRecord(1, 5)});
    w.processModel()->item(3, 2)->setText("DX");
    w.click(1);
    note->setPlainText("abc"); // the cursor at the start
    note->setFocus();
    QTest::keyClick(note, Qt::Key_Delete);
    QCOMPARE(note->toPlainText(), QString("bc"));
    // Nor in the parameters table: the answers armed here wait for the list.
    QStringList asked;
    answerMessageBoxes({QMessageBox::No, QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Yes},
                       &asked);
    w.monitor()->setFocus();
    QTest::keyClick(w.monitor(), Qt::Key_Delete);
    QVERIFY(asked.isEmpty());

    for (int row : {0, 2, 4}) // Ctrl+click selects more rows
        w.click(row, 0, Qt::ControlModifier);
    QCOMPARE(w.currentTest(), 4);          // the last row clicked
    w.click(1, 0, Qt::ControlModifier);    // b out again
    QTest::keyClick(list, Qt::Key_Delete); // No
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(w.processModel()->rowCount(), 2);
    QCOMPARE(w.store().at(1), d);
    // Row 4, the current one, went: the row now in place of the first removed one shows.
    QCOMPARE(list->selectionModel()->selectedRows(),
             QModelIndexList{w.processModel()->index(0, 0)});
    QCOMPARE(w.monitor()->currentRecord(), b);
    QCOMPARE(note->toPlainText(), QString("bc"));
    QVERIFY(w.saveAction()->isEnabled());

    QApplication::setActiveWindow(&w); // the questions had it
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.click(1, 1); // F2 edits the name (moved with its row) from any cell of the row
    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(list->indexWidget(w.processModel()->index(1, 2)));
    QVERIFY(editor);
    QTRY_VERIFY(editor->hasFocus());
    QCOMPARE(editor->text(), QString("DX"));
    editor->setCursorPosition(0);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(w.processModel()->item(1, 2)->text(), QString("X"));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete); // the last row: the new last shows
    QCOMPARE(w.monitor()->currentRecord(), b);
    QTest::keyClick(list, Qt::Key_Delete); // the only row
    QVERIFY(!w.store().count() && w.currentTest() == -1 && !w.plotTabWidget()->count());
    QVERIFY(!w.monitor()->currentRecord() && !w.exportAction()->isEnabled());
    QVERIFY(!note->isEnabled() && !w.deleteTestAction()->isEnabled());
    QCOMPARE(asked, (QStringList{
                        "Do you want to remove 3 processes?", "Do you want to remove 3 processes?",
                        "Do you want to remove process?", "Do you want to remove process?"}));
}

// Only a press with exactly an entry's modifiers is translated, and then only
// the translation goes on. The commands are cut from their actions, so a key
// only counts the trigger; the Russian layout's letters reach the same commands.
void TestProcList::keysTriggerTheirCommand() {
    KeyTranslator translator;
    struct Target : QObject {
        QString keys;
        bool event(QEvent *e) override {
            const auto *k = static_cast<QKeyEvent *>(e);
            keys += QKeySequence(int(k->modifiers()) | k->key()).toString();
            return true;
        }
    } target;
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    // ES, YA, YA, TSE, ES, ES, the Latin C; a release of Ctrl+ES.
    const int keys[][2] = {{0x0421, ctrl},       {0x042F, ctrl},  {0x042F, ctrl | shift},
                           {0x0426, ctrl | alt}, {0x0421, shift}, {0x0421, ctrl | shift},
                           {Qt::Key_C, ctrl},    {0x0421, -ctrl}};
    for (const auto &k : keys) {
        QKeyEvent e(k[1] < 0 ? QEvent::KeyRelease : QEvent::KeyPress, k[0],
                    Qt::KeyboardModifiers(qAbs(k[1])));
        target.keys += translator.eventFilter(&target, &e) ? " " : "- ";
    }
    QCOMPARE(target.keys, "Ctrl+C Ctrl+Z Ctrl+Shift+Z - - - - - ");

    qApp->installEventFilter(&translator);
    Window w;
    w.showTests({curveRecord(1, 1), curveRecord(1, 2)});
    const QList<QAction *> commands = {w.openAction(),  w.saveAction(),      w.saveAsAction(),
                                       w.printAction(), w.closeAction(),     w.readAction(),
                                       w.helpAction(),  w.deleteTestAction()};
    QString hit;
    for (int i = 0; i < commands.size(); ++i) {
        commands[i]->setEnabled(true);
        QObject::disconnect(commands[i], &QAction::triggered, &w, nullptr);
        connect(commands[i], &QAction::triggered, [&hit, i] { hit += QString::number(i); });
    }
    w.processList()->setFocus();
    // The last two: SHCHA and YERU, O and S on the Russian layout.
    const int commandKeys[][2] = {{Qt::Key_O, ctrl}, {Qt::Key_S, ctrl | shift}, {Qt::Key_P, ctrl},
                                  {Qt::Key_F5, 0},   {Qt::Key_F1, 0},           {Qt::Key_Delete, 0},
                                  {0x0429, ctrl},    {0x042B, ctrl | shift}};
    for (const auto &k : commandKeys) {
        // A Cyrillic key has no Latin letter for QTest to make its text from.
        QTest::sendKeyEvent(QTest::Click, w.processList(), Qt::Key(k[0]),
                            k[0] >= 0x0400 ? QString(QChar(k[0])) : QString(),
                            Qt::KeyboardModifiers(k[1]));
        hit += ' ';
    }
    QCOMPARE(hit, "0 2 3 5 6 7 0 2 ");
}

QTEST_MAIN(TestProcList)
#include "tst_proclist.moc"
