#include "app/keytranslator.h"
#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "modalanswer.h"
#include "records/processp.h"
#include "table/monitor.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>
#include <QtTest>

using namespace testrecords;

namespace {

// A window with two tests, shown and active so that its shortcuts work; the
// commands are cut from their actions, so a key only counts the trigger.
struct Window {
    TestSettings settings;
    MainWindow w;
    Window() {
        w.setTitle("Setrovia+");
        QVERIFY(!w.deleteTestAction()->isEnabled()); // nothing to delete
        for (quint8 second : {1, 2}) {
            HeaderFields s;
            s.second = second;
            auto *p = new ProcessP(header(s), samples(1), 1);
            w.store().add(p);
            QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, p));
        }
        w.show();
        QApplication::setActiveWindow(&w);
    }
    QList<QAction *> commands() const {
        return {w.openAction(),  w.saveAction(), w.saveAsAction(), w.printAction(),
                w.closeAction(), w.readAction(), w.helpAction(),   w.deleteTestAction()};
    }
};

} // namespace

class TestShortcuts : public QObject {
    Q_OBJECT
private slots:
    void noTwoActionsShareASequence();
    void keysTriggerTheirCommand_data();
    void keysTriggerTheirCommand();
    void deleteKeyFollowsTheFocus();
};

// Every shortcut belongs to one action only, and the menus show it.
void TestShortcuts::noTwoActionsShareASequence() {
    Window win;
    QMap<QString, QStringList> owners;
    for (QAction *a : win.w.findChildren<QAction *>()) {
        for (const QKeySequence &k : a->shortcuts())
            owners[k.toString()] << a->text();
        if (!a->shortcuts().isEmpty()) {
            const QList<QWidget *> shown = a->associatedWidgets();
            QVERIFY2(std::any_of(shown.cbegin(), shown.cend(),
                                 [](QWidget *m) { return qobject_cast<QMenu *>(m); }),
                     qPrintable(a->text()));
        }
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        QVERIFY2(it.value().size() == 1, qPrintable(it.key() + ": " + it.value().join(", ")));
    QCOMPARE(owners.value("Ctrl+Shift+S"), QStringList({"Save project as..."}));
    QCOMPARE(owners.value("Ctrl+W"), QStringList({"Close project"}));
    QCOMPARE(owners.value("Del"), QStringList({"Delete test"}));
}

void TestShortcuts::keysTriggerTheirCommand_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("command"); // index into Window::commands()
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << ctrl << 0;
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << ctrl << 1;
    QTest::newRow("Ctrl+Shift+S") << int(Qt::Key_S) << (ctrl | shift) << 2;
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << ctrl << 3;
    QTest::newRow("Ctrl+W") << int(Qt::Key_W) << ctrl << 4;
    QTest::newRow("F5") << int(Qt::Key_F5) << 0 << 5;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << 6;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << 7;
    // The same keys with the Russian layout.
    QTest::newRow("Ctrl+SHCHA") << 0x0429 << ctrl << 0;
    QTest::newRow("Ctrl+YERU") << 0x042B << ctrl << 1;
    QTest::newRow("Ctrl+Shift+YERU") << 0x042B << (ctrl | shift) << 2;
    QTest::newRow("Ctrl+ZE") << 0x0417 << ctrl << 3;
    QTest::newRow("Ctrl+TSE") << 0x0426 << ctrl << 4;
}

void TestShortcuts::keysTriggerTheirCommand() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, command);
    KeyTranslator translator;
    qApp->installEventFilter(&translator);
    Window win;
    QVERIFY(QTest::qWaitForWindowActive(&win.w));
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

// Delete asks to remove the test only from the list; in the description
// editors and in a name being edited it deletes a character. F2 still edits
// a name.
void TestShortcuts::deleteKeyFollowsTheFocus() {
    Window win;
    QVERIFY(QTest::qWaitForWindowActive(&win.w));
    ProcList *list = win.w.processList();
    const QRect rect = list->visualRect(win.w.processModel()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(win.w.currentTest(), 1);

    QTextEdit *description = win.w.processDescription();
    description->setPlainText("abc");
    description->setFocus();
    description->moveCursor(QTextCursor::Start);
    QTest::keyClick(description, Qt::Key_Delete);
    QCOMPARE(description->toPlainText(), QString("bc"));
    QCOMPARE(win.w.store().count(), 2);

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

    list->setCurrentIndex(win.w.processModel()->index(1, 2));
    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(list->indexWidget(list->currentIndex()));
    QVERIFY(editor);
    QTRY_VERIFY(editor->hasFocus());
    editor->setText("xyz");
    editor->setCursorPosition(0);
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(editor->text(), QString("yz"));
    QCOMPARE(win.w.store().count(), 2);
    QVERIFY(!QApplication::activeModalWidget());

    answerNextMessageBox(QMessageBox::Yes);
    QTest::keyClick(editor, Qt::Key_Return);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(win.w.store().count(), 1);
    QVERIFY(win.w.deleteTestAction()->isEnabled());
    win.w.closeAction()->setEnabled(true);
    answerNextMessageBox(QMessageBox::No); // closed without saving
    win.w.closeAction()->trigger();
    QVERIFY(!win.w.deleteTestAction()->isEnabled());
}

QTEST_MAIN(TestShortcuts)
#include "tst_shortcuts.moc"
