#include "app/mainwindow.h"
#include "app/projectdrop.h"
#include "modalanswer.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testprojects.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QMimeData>
#include <QTextEdit>
#include <QtTest>

using namespace testrecords;
using namespace testprojects;

namespace {

QMimeData *files(const QStringList &paths) {
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << (p.contains("://") ? QUrl(p) : QUrl::fromLocalFile(p));
    data->setUrls(urls);
    return data;
}

// A drag that enters `target` and is dropped there, as the toolkit delivers
// it; returns whether the drop was taken, and with which action.
Qt::DropAction drop(QWidget *target, const QStringList &paths, Qt::KeyboardModifiers keys = {}) {
    std::unique_ptr<QMimeData> data(files(paths));
    const QPoint at = target->rect().center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, keys);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent dropped(at, actions, data.get(), Qt::LeftButton, keys);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
}

// A window with project A (tests 1 and 2) open; B holds tests 2 and 3.
struct Window {
    explicit Window(const QByteArray &simulator = QByteArray()) {
        makeProject(a, 2, "a.vtl", 1);
        makeProject(b, 2, "b.vtl", 2);
        if (!simulator.isNull())
            qputenv("SETROVIA_SIMULATOR", simulator);
        w.reset(new MainWindow);
        qunsetenv("SETROVIA_SIMULATOR");
        w->setTitle("Setrovia+");
        w->show();
        QVERIFY(w->openProjectFile(a));
    }
    TestSettings settings;
    QTemporaryDir dir;
    QString a = dir.filePath("a.vtl"), b = dir.filePath("b.vtl");
    QScopedPointer<MainWindow> w;
};

} // namespace

class TestProjectDrop : public QObject {
    Q_OBJECT
private slots:
    void dropOpensOrAdds_data();
    void dropOpensOrAdds();
    void otherDropsAreRefused_data();
    void otherDropsAreRefused();
    void refusedDuringARead();
    void textAndLinksStillDropIntoTheEditors();
};

void TestProjectDrop::dropOpensOrAdds_data() {
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<bool>("onEditor"); // dropped on a description, not the window
    QTest::addColumn<bool>("shift");    // a move proposed
    QTest::newRow("open") << false << false << false;
    QTest::newRow("open, on an editor") << false << true << false;
    QTest::newRow("open, Shift") << false << false << true;
    QTest::newRow("add") << true << false << false;
    QTest::newRow("add, on an editor") << true << true << false;
}

void TestProjectDrop::dropOpensOrAdds() {
    QFETCH(bool, ctrl);
    QFETCH(bool, onEditor);
    QFETCH(bool, shift);
    Window win;
    QWidget *target = onEditor ? win.w->projectDescription()->viewport() : win.w.data();
    const Qt::KeyboardModifiers keys = (ctrl ? Qt::ControlModifier : Qt::NoModifier) |
                                       (shift ? Qt::ShiftModifier : Qt::NoModifier);
    // Copied, never moved: a move would delete the file where it came from.
    QCOMPARE(drop(target, {win.b}, keys), Qt::CopyAction);
    QCOMPARE(win.w->projectFilePath(), win.a); // not within the drop
    if (ctrl) {
        QTRY_COMPARE(win.w->store().count(), 3);
        QCOMPARE(win.w->projectFilePath(), win.a);
        QVERIFY(win.w->saveAction()->isEnabled());
        QCOMPARE(win.w->projectDescription()->toPlainText(), QString("a.vtl"));
    } else {
        QTRY_COMPARE(win.w->projectFilePath(), win.b);
        QCOMPARE(win.w->store().count(), 2);
        QCOMPARE(win.w->projectDescription()->toPlainText(), QString("b.vtl"));
    }
    QVERIFY(QFileInfo::exists(win.b));
}

void TestProjectDrop::otherDropsAreRefused_data() {
    QTest::addColumn<QStringList>("names");
    QTest::newRow("two projects") << QStringList{"a.vtl", "b.vtl"};
    QTest::newRow("a text file") << QStringList{"notes.txt"};
    QTest::newRow("a project and a text file") << QStringList{"b.vtl", "notes.txt"};
}

void TestProjectDrop::otherDropsAreRefused() {
    QFETCH(QStringList, names);
    Window win;
    QStringList paths;
    for (const QString &n : names)
        paths << win.dir.filePath(n);
    QString text;
    answerNextMessageBox(QMessageBox::Ok, &text);
    QCOMPARE(drop(win.w.data(), paths), Qt::CopyAction);
    QTRY_COMPARE(text, QString("Drop one project file (.vtl): it is opened, or with Ctrl held its "
                               "tests are added to the open project."));
    QCOMPARE(win.w->projectFilePath(), win.a);
    QCOMPARE(win.w->store().count(), 2);
}

// Opening and adding are refused while the reader thread fills the store,
// with the project commands' message.
void TestProjectDrop::refusedDuringARead() {
    Window win("tests=3");
    QTRY_VERIFY(win.w->readAction()->isEnabled());
    for (bool ctrl : {false, true}) {
        win.w->readAction()->trigger();
        QVERIFY(win.w->isReading());
        QString text;
        answerNextMessageBox(QMessageBox::Ok, &text);
        drop(win.w.data(), {win.b}, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QTRY_COMPARE(text, QString("The instrument is being read. Wait until the reading has "
                                   "ended, then try again."));
        QTRY_VERIFY(!win.w->isReading());
        QCOMPARE(win.w->projectFilePath(), win.a);
        QCOMPARE(win.w->store().count(), 5); // A's two and the instrument's three
    }
}

// Drags without a local file are not the window's.
void TestProjectDrop::textAndLinksStillDropIntoTheEditors() {
    Window win;
    QWidget *editor = win.w->processDescription()->viewport();
    win.w->processDescription()->setEnabled(true);
    QMimeData text;
    text.setText("dropped text");
    QDragEnterEvent enter(editor->rect().center(), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(editor, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(editor->rect().center(), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(editor, &dropped);
    QCOMPARE(win.w->processDescription()->toPlainText(), QString("dropped text"));
    QCOMPARE(drop(win.w.data(), {"https://example.org/p.vtl"}), Qt::IgnoreAction);
}

QTEST_MAIN(TestProjectDrop)
#include "tst_projectdrop.moc"
