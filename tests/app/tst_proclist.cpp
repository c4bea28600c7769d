#include "app/keytranslator.h"
#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "charts/plottabs.h"
#include "modalanswer.h"
#include "records/processp.h"
#include "table/monitor.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

using namespace testrecords;

namespace {

// A short test told apart by its start second, with a rising volume.
ProcessP *record(quint8 second, quint8 kind = 1) {
    HeaderFields s;
    s.second = second;
    s.duration = 300 * 60;
    QByteArray block = samples(kind);
    for (int i = 0; i < 300; ++i)
        setCount(block, kind, 0, i, quint16(i));
    return new ProcessP(header(s), block, kind);
}

struct Window {
    TestSettings settings;
    MainWindow w;
    // One row per record, as a project load leaves them; active for the shortcuts.
    void show(const QList<ProcessP *> &records) {
        w.setTitle("Setrovia+");
        for (ProcessP *p : records) {
            QVERIFY(w.store().add(p));
            QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, p));
        }
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    QList<QAction *> commands() const {
        return {w.openAction(),  w.saveAction(), w.saveAsAction(), w.printAction(),
                w.closeAction(), w.readAction(), w.helpAction(),   w.deleteTestAction()};
    }
};

void clickRow(MainWindow &w, int row, int column = 0, Qt::KeyboardModifiers keys = {}) {
    ProcList *list = w.processList();
    const QRect rect = list->visualRect(w.processModel()->index(row, column));
    QVERIFY(rect.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, rect.center());
}

} // namespace

class TestProcList : public QObject {
    Q_OBJECT
private slots:
    void clickShowsTheTestOnce();
    void deleteShowsTheNextRow();
    void deleteSeveralSelectedRows();
    void translatesExactModifiersOnly_data();
    void translatesExactModifiersOnly();
    void keysTriggerTheirCommand_data();
    void keysTriggerTheirCommand();
    void deleteKeyFollowsTheFocus();
};

// A click shows the test; clicking it again (in any column) rebuilds nothing.
// Its description is kept when another row is clicked.
void TestProcList::clickShowsTheTestOnce() {
    Window win;
    MainWindow &w = win.w;
    ProcessP *first = record(1, 3), *second = record(2, 1);
    second->setNote(QStringLiteral("из проекта").toUtf8());
    win.show({first, second});
    // Filling the editor with a stored note does not modify the project.
    clickRow(w, 1);
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("из проекта"));
    QVERIFY(!w.saveAction()->isEnabled());

    clickRow(w, 0);
    QCOMPARE(w.currentTest(), 0);
    QCOMPARE(w.plotTabWidget()->count(), 7);
    QCOMPARE(w.monitor()->currentRecord(), first);
    QVERIFY(w.processDescription()->toPlainText().isEmpty());
    QPointer<QwtPlot> volume = w.plots()->plot(PlotTabs::Volume);
    volume->setAxisScale(QwtPlot::xBottom, 5, 6);
    w.plotTabWidget()->setCurrentIndex(3);
    QTest::keyClicks(w.processDescription(), QStringLiteral("first test"));
    QVERIFY(w.saveAction()->isEnabled()); // typing does
    clickRow(w, 0, 2);
    QCOMPARE(w.plots()->plot(PlotTabs::Volume), volume.data());
    QVERIFY(!volume->axisAutoScale(QwtPlot::xBottom));
    QCOMPARE(w.plotTabWidget()->currentIndex(), 3);
    QVERIFY(first->note().isEmpty());

    clickRow(w, 1);
    QCOMPARE(w.plotTabWidget()->count(), 4);
    QVERIFY(!volume);
    QCOMPARE(QString::fromUtf8(first->note()), QStringLiteral("first test"));
    w.processDescription()->setPlainText(QStringLiteral("второй"));
    clickRow(w, 0);
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("first test"));
    QCOMPARE(QString::fromUtf8(second->note()), QStringLiteral("второй"));
}

// The row after the removed one shows, or the new last; then nothing.
void TestProcList::deleteShowsTheNextRow() {
    Window win;
    MainWindow &w = win.w;
    ProcessP *a = record(1, 1);
    ProcessP *c = record(3, 2);
    c->setNote("third");
    win.show({a, record(2, 3), c});
    w.processModel()->item(2, 2)->setText(QStringLiteral("C"));
    clickRow(w, 1);
    answerNextMessageBox(QMessageBox::Yes);
    QTest::keyClick(w.processList(), Qt::Key_Delete);
    QCOMPARE(w.processModel()->rowCount(), 2);
    QCOMPARE(w.currentTest(), 1);
    QCOMPARE(w.processList()->selectionModel()->selectedRows(),
             QModelIndexList{w.processModel()->index(1, 0)});
    QCOMPARE(w.store().at(1), c);
    QCOMPARE(w.processModel()->item(1, 2)->text(), QStringLiteral("C"));
    QCOMPARE(w.monitor()->currentRecord(), c);
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("third"));
    QCOMPARE(w.plotTabWidget()->count(), 7);
    QVERIFY(w.saveAction()->isEnabled());

    answerNextMessageBox(QMessageBox::Yes); // the last row
    QMetaObject::invokeMethod(&w, "deleteSelProc");
    QCOMPARE(w.store().count(), 1);
    QCOMPARE(w.monitor()->currentRecord(), a);

    answerNextMessageBox(QMessageBox::Yes); // the only row
    QMetaObject::invokeMethod(&w, "deleteSelProc");
    QCOMPARE(w.currentTest(), -1);
    QCOMPARE(w.store().count(), 0);
    QCOMPARE(w.plotTabWidget()->count(), 0);
    QVERIFY(!w.monitor()->currentRecord());
    QVERIFY(!w.exportAction()->isEnabled());
    QVERIFY(!w.processDescription()->isEnabled());
}

// Ctrl+click selects more rows; Delete asks once, naming how many.
void TestProcList::deleteSeveralSelectedRows() {
    Window win;
    MainWindow &w = win.w;
    ProcessP *b = record(2);
    ProcessP *d = record(4, 3);
    win.show({record(1), b, record(3), d, record(5)});
    clickRow(w, 1);
    w.processDescription()->setPlainText(QStringLiteral("kept"));
    ProcList *list = w.processList();
    for (int row : {0, 2, 4})
        clickRow(w, row, 0, Qt::ControlModifier);
    QCOMPARE(w.currentTest(), 4);           // the last row clicked
    clickRow(w, 1, 0, Qt::ControlModifier); // b out again
    QCOMPARE(list->selectionModel()->selectedRows().size(), 3);

    QString text;
    answerNextMessageBox(QMessageBox::No, &text);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(text, QStringLiteral("Do you want to remove 3 processes?"));
    QCOMPARE(w.store().count(), 5);

    answerNextMessageBox(QMessageBox::Yes);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(w.store().count(), 2);
    QCOMPARE(w.store().at(0), b);
    QCOMPARE(w.store().at(1), d);
    // Row 4, the current one, went: the row now in place of the first removed one shows.
    QCOMPARE(w.currentTest(), 0);
    QCOMPARE(w.monitor()->currentRecord(), b);
    QCOMPARE(w.processDescription()->toPlainText(), QStringLiteral("kept"));
}

void TestProcList::translatesExactModifiersOnly_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers"); // negative: a release with Ctrl
    QTest::addColumn<int>("expectedKey");
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    QTest::newRow("ES: copy") << 0x0421 << ctrl << int(Qt::Key_C);
    QTest::newRow("YA: undo") << 0x042F << ctrl << int(Qt::Key_Z);
    QTest::newRow("YA shift") << 0x042F << (ctrl | shift) << int(Qt::Key_Z);
    QTest::newRow("TSE alt") << 0x0426 << (ctrl | alt) << 0x0426;
    QTest::newRow("shift only") << 0x0421 << shift << 0x0421;
    QTest::newRow("ctrl shift ES") << 0x0421 << (ctrl | shift) << 0x0421;
    QTest::newRow("latin") << int(Qt::Key_C) << ctrl << int(Qt::Key_C);
    QTest::newRow("release") << 0x0421 << -1 << 0x0421;
}

void TestProcList::translatesExactModifiersOnly() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expectedKey);
    KeyTranslator translator;
    struct Log : QObject {
        QList<QPair<int, int>> keys;
        bool eventFilter(QObject *, QEvent *e) override {
            if (e->type() == QEvent::KeyPress)
                keys.append({static_cast<QKeyEvent *>(e)->key(),
                             int(static_cast<QKeyEvent *>(e)->modifiers())});
            return false;
        }
    } log;
    QObject target;
    target.installEventFilter(&log);
    const int held = modifiers < 0 ? int(Qt::ControlModifier) : modifiers;
    QKeyEvent press(modifiers < 0 ? QEvent::KeyRelease : QEvent::KeyPress, key,
                    Qt::KeyboardModifiers(held));
    const bool dropped = translator.eventFilter(&target, &press);
    QCOMPARE(dropped, expectedKey != key);
    if (dropped)
        QCOMPARE(log.keys, (QList<QPair<int, int>>{{expectedKey, held}}));
    else
        QVERIFY(log.keys.isEmpty());
}

void TestProcList::keysTriggerTheirCommand_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("command"); // index into Window::commands()
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << ctrl << 0;
    QTest::newRow("Ctrl+Shift+S") << int(Qt::Key_S) << (ctrl | shift) << 2;
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << ctrl << 3;
    QTest::newRow("F5") << int(Qt::Key_F5) << 0 << 5;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << 6;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << 7;
    // The same keys with the Russian layout.
    QTest::newRow("Ctrl+SHCHA") << 0x0429 << ctrl << 0;
    QTest::newRow("Ctrl+Shift+YERU") << 0x042B << (ctrl | shift) << 2;
}

// The commands are cut from their actions, so a key only counts the trigger.
void TestProcList::keysTriggerTheirCommand() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, command);
    KeyTranslator translator;
    qApp->installEventFilter(&translator);
    Window win;
    win.show({record(1), record(2)});
    QList<QSharedPointer<QSignalSpy>> spies;
    for (QAction *a : win.commands()) {
        a->setEnabled(true);
        QObject::disconnect(a, &QAction::triggered, &win.w, nullptr);
        spies << QSharedPointer<QSignalSpy>::create(a, &QAction::triggered);
    }
    win.w.processList()->setFocus();
    // A Cyrillic key has no Latin letter for QTest to make its text from.
    QTest::sendKeyEvent(QTest::Click, win.w.processList(), Qt::Key(key),
                        key >= 0x0400 ? QString(QChar(key)) : QString(),
                        Qt::KeyboardModifiers(modifiers));
    qApp->removeEventFilter(&translator);
    for (int i = 0; i < spies.size(); ++i)
        QVERIFY2(spies[i]->count() == (i == command ? 1 : 0),
                 qPrintable(win.commands()[i]->text()));
}

// Delete removes a test only from the list; in editors it deletes a character.
void TestProcList::deleteKeyFollowsTheFocus() {
    Window win;
    win.show({record(1), record(2)});
    ProcList *list = win.w.processList();
    clickRow(win.w, 1);
    QCOMPARE(win.w.currentTest(), 1);

    QTextEdit *description = win.w.processDescription();
    description->setPlainText("abc");
    description->setFocus();
    description->moveCursor(QTextCursor::Start);
    QTest::keyClick(description, Qt::Key_Delete);
    QCOMPARE(description->toPlainText(), QString("bc"));

    // Nor in the parameters table: the answer armed here waits for the list.
    QString asked;
    answerNextMessageBox(QMessageBox::No, &asked);
    win.w.monitor()->setFocus();
    QTest::keyClick(win.w.monitor(), Qt::Key_Delete);
    QVERIFY(asked.isEmpty());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(asked, QString("Do you want to remove process?"));
    QCOMPARE(win.w.store().count(), 2);
    QApplication::setActiveWindow(&win.w); // the question had it
    QVERIFY(QTest::qWaitForWindowActive(&win.w));

    clickRow(win.w, 1, 1); // F2 edits the name from any cell of the row
    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(list->indexWidget(win.w.processModel()->index(1, 2)));
    QVERIFY(editor);
    QTRY_VERIFY(editor->hasFocus());
    editor->setText("xyz");
    editor->setCursorPosition(0);
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(editor->text(), QString("yz"));
    QVERIFY(!QApplication::activeModalWidget());

    answerNextMessageBox(QMessageBox::Yes);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(win.w.processModel()->item(1, 2)->text(), QString("yz"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(win.w.store().count(), 1);
    win.w.closeAction()->setEnabled(true);
    answerNextMessageBox(QMessageBox::No); // closed without saving
    win.w.closeAction()->trigger();
    QVERIFY(!win.w.deleteTestAction()->isEnabled());
}

QTEST_MAIN(TestProcList)
#include "tst_proclist.moc"
