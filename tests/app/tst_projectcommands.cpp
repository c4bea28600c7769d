#include "app/mainwindow.h"
#include "app/recentprojects.h"
#include "modalanswer.h"
#include "testprojects.h"
#include "testsettings.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

using namespace testprojects;

namespace {

// A window whose file dialogs answer from a list.
struct Window {
    Window() : w(new MainWindow) {
        w->setTitle("Setrovia+");
        w->show();
        w->setFileChooser([this](const MainWindow::FileRequest &) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    // A project of `tests` tests from second `first` on, described by its name.
    QString project(const QString &name, int tests = 2, int first = 1) {
        makeProject(dir.filePath(name), tests, name, first);
        return dir.filePath(name);
    }
    TestSettings settings;
    QTemporaryDir dir;
    QStringList answers;
    QScopedPointer<MainWindow> w; // after the settings it reads
};

// A drag of `urls` (of a text when there are none) that enters `target` and
// is dropped there, as the toolkit delivers it; returns whether the drop was
// taken, and with which action.
Qt::DropAction drop(QWidget *target, const QList<QUrl> &urls, Qt::KeyboardModifiers keys = {}) {
    QMimeData data;
    if (urls.isEmpty())
        data.setText("+dropped");
    else
        data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
}

} // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT
private slots:
    void saveAndCloseAsk();
    void commandThatEndsEarlyChangesNothing_data();
    void commandThatEndsEarlyChangesNothing();
    void recentListAndItsEntries();
    void drops_data();
    void drops();
    void refusedDuringARead();

private:
    QTemporaryDir dir_;
};

// A file another program wrote since it was opened (same size and time) is
// not replaced unasked: Cancel keeps it, Save As keeps it and saves elsewhere.
// Modified is always in the title, whether the project has a file or not.
void TestProjectCommands::saveAndCloseAsk() {
    Window w;
    const QString path = w.project("lab.vtl"), mine = w.dir.filePath("mine.vtl");
    QVERIFY(w.w->openProjectFile(path));
    w.w->projectDescription()->insertPlainText("mine ");
    const QDateTime time = QFileInfo(path).lastModified();
    const QByteArray theirs = projectImage(2, "LAB.VTL", 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write(theirs) == theirs.size() &&
            file.flush() && file.setFileTime(time, QFileDevice::FileModificationTime));
    QStringList texts;
    answerMessageBoxes({QMessageBox::Cancel, QMessageBox::SaveAll}, &texts);
    w.w->saveAction()->trigger();
    w.answers << mine;
    w.w->saveAction()->trigger();
    const QString asked = "The project file " + path +
                          " has been changed by another program since it was opened or saved here.";
    QCOMPARE(texts, QStringList({asked, asked}));
    QCOMPARE(bytesOf(path), theirs);
    QCOMPARE(w.w->windowTitle(), QString("mine.vtl   Setrovia+  (%1)").arg(mine));

    w.w->projectDescription()->insertPlainText("!");
    answerNextMessageBox(QMessageBox::No); // closed without saving
    w.w->closeAction()->trigger();
    QCOMPARE(w.w->windowTitle(), QString("Setrovia+"));

    // Yes, then the save dialog is cancelled: a refusal, the unsaved tests stay.
    w.answers << path;
    w.w->addProjectAction()->trigger(); // into an empty window
    QCOMPARE(w.w->windowTitle(), QString("*  Setrovia+"));
    answerNextMessageBox(QMessageBox::Yes);
    w.w->closeAction()->trigger();
    QCOMPARE(w.w->store().count(), 2);
}

void TestProjectCommands::commandThatEndsEarlyChangesNothing_data() {
    QTest::addColumn<int>("prompt");     // the answer to the save prompt; 0: none
    QTest::addColumn<QString>("chosen"); // what the dialog answers; null: not asked
    QTest::addColumn<QString>("message");
    const int no = QMessageBox::No;
    const QString cannotOpen = "Can not open file";
    const QString damaged = dir_.filePath("damaged.vtl"), huge = dir_.filePath("huge.vtl");
    const QString fifo = dir_.filePath("pipe.vtl");
    writeFile(damaged, projectImage(2).left(200));
    writeFile(huge, QByteArray("format 04\x01", 10));
    QVERIFY(QFile::resize(huge, qint64(1) << 30));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QTest::newRow("close: prompt cancelled") << int(QMessageBox::Cancel) << QString() << QString();
    QTest::newRow("open: prompt cancelled") << int(QMessageBox::Cancel) << QString() << QString();
    QTest::newRow("open: dialog cancelled") << no << "" << QString();
    QTest::newRow("open: damaged") << no << damaged << "File " + damaged + " corrupt";
    QTest::newRow("add: 1 GB behind the format string")
        << 0 << huge
        << "File " + huge + " is too large to be a project file (at most 268435456 bytes).";
    QTest::newRow("add: fails on the first read") << 0 << "/proc/self/mem" << cannotOpen;
    QTest::newRow("add: a pipe, which would never end") << 0 << fifo << cannotOpen;
}

// A command that stops on the way leaves the open project as it was, modified and all.
void TestProjectCommands::commandThatEndsEarlyChangesNothing() {
    QFETCH(int, prompt);
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    Window w;
    const QString path = w.project("lab.vtl");
    QVERIFY(w.w->openProjectFile(path));
    w.w->projectDescription()->insertPlainText("typed ");

    w.answers << chosen; // a null one taken tells a dialog that should not have been shown
    // The save prompt's answer if there is one, then Ok to the message if any.
    QStringList shown;
    const QList<QMessageBox::StandardButton> answers{QMessageBox::StandardButton(prompt),
                                                     QMessageBox::Ok};
    answerMessageBoxes(answers.mid(prompt ? 0 : 1, message.isNull() ? 1 : 2), &shown);
    const QMap<QString, QAction *> commands{{"open", w.w->openAction()},
                                            {"add", w.w->addProjectAction()},
                                            {"close", w.w->closeAction()}};
    commands.value(QString(QTest::currentDataTag()).section(':', 0, 0))->trigger();
    QCOMPARE(w.answers.isEmpty(), !chosen.isNull());
    QCOMPARE(shown.mid(prompt ? 1 : 0), message.isNull() ? QStringList() : QStringList(message));
    QCOMPARE(w.w->store().count(), 2);
    QCOMPARE(w.w->projectDescription()->toPlainText(), QString("typed lab.vtl"));
    QCOMPARE(w.w->windowTitle(), QString("lab.vtl*  Setrovia+  (%1)").arg(path));
}

// Open and Save As put a project first, Add project does not. An entry opens
// as Open project after its dialog; a file gone leaves the list, a damaged one
// stays. Newest first, at most eight, each once, read back or added.
void TestProjectCommands::recentListAndItsEntries() {
    Window w;
    QMenu *menu = w.w->recentProjects()->menu();
    const QString older = w.project("older.vtl", 1, 1), newer = w.dir.filePath("newer.vtl");
    QVERIFY(w.w->openProjectFile(older));
    w.answers << newer << w.project("added.vtl", 1, 2);
    w.w->saveAsAction()->trigger();
    w.w->addProjectAction()->trigger();
    QCOMPARE(RecentProjects::paths(), QStringList({newer, older}));

    answerNextMessageBox(QMessageBox::No); // Add project left it modified
    QCOMPARE(menu->actions().at(1)->text(), QString("older.vtl"));
    menu->actions().at(1)->trigger();
    QCOMPARE(w.w->projectFilePath(), older);
    QCOMPARE(RecentProjects::paths(), QStringList({older, newer}));

    QVERIFY(QFile::remove(newer));
    QString text;
    answerNextMessageBox(QMessageBox::Ok, &text);
    menu->actions().at(1)->trigger(); // newer.vtl
    QCOMPARE(text, "The project " + newer +
                       " no longer exists. It has been removed from the list of recent projects.");
    QCOMPARE(RecentProjects::paths(), QStringList({older}));

    writeFile(newer, "format 04\x05");
    w.w->recentProjects()->add(newer);
    answerNextMessageBox(QMessageBox::Ok, &text);
    menu->actions().at(0)->trigger(); // newer.vtl
    QCOMPARE(text, "File " + newer + " corrupt");
    QCOMPARE(RecentProjects::paths(), QStringList({newer, older}));

    for (int i = 0; i < 10; ++i)
        w.w->recentProjects()->add(QString("/%1").arg(i));
    w.w->recentProjects()->add("/x/../5"); // again, spelt otherwise
    w.w->recentProjects()->add("r");       // made absolute
    QCOMPARE(RecentProjects::paths().join(' '),
             QDir::current().absoluteFilePath("r") + " /5 /9 /8 /7 /6 /4 /3");
    menu->actions().last()->trigger(); // Clear list
    QCOMPARE(RecentProjects::paths(), QStringList());
    QVERIFY(!menu->isEnabled());

    // A damaged settings value never gives entries that could not be opened.
    const auto stored = [&](const QByteArray &value) {
        writeFile(w.settings.file(), "[General]\nrecentProjects=" + value + "\n");
        return RecentProjects::paths().join(' ');
    };
    QCOMPARE(stored("/a/b.vtl"), QString("/a/b.vtl")); // one, kept as a text
    QCOMPARE(stored("@ByteArray(/a/b.vtl)"), QString());
    // Not absolute, empty, a control character, twice, too many.
    QCOMPARE(stored("b.vtl, , \"/a/\\x1b.vtl\", /0, /1, /2, /3, /4, /5, /6, /./0, /7, /8, /9"),
             QString("/0 /1 /2 /3 /4 /5 /6 /7"));
}

void TestProjectCommands::drops_data() {
    QTest::addColumn<QStringList>("names"); // of files in the window's folder, or URLs
    QTest::addColumn<int>("keys");
    QTest::addColumn<bool>("onEditor"); // dropped on the description, not the window
    // The drop's action (1: copied, 0: ignored), the title's file, tests, description, warning.
    QTest::addColumn<QString>("after");
    const QStringList b("b.vtl");
    const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    const QString refused = "1 a.vtl 2 a.vtl refused";
    // Copied, never moved: a move would delete the file where it came from.
    QTest::newRow("open, a move proposed") << b << shift << false << "1 b.vtl 2 b.vtl";
    QTest::newRow("add, on an editor") << b << ctrl << true << "1 a.vtl* 3 a.vtl";
    QTest::newRow("two files") << QStringList({"a.vtl", "b.vtl"}) << 0 << false << refused;
    QTest::newRow("another kind") << QStringList("notes.txt") << 0 << false << refused;
    QTest::newRow("no local file")
        << QStringList("https://example.org/p.vtl") << 0 << false << "0 a.vtl 2 a.vtl";
    QTest::newRow("a text, on an editor")
        << QStringList() << 0 << true << "1 a.vtl* 2 a.vtl+dropped";
}

void TestProjectCommands::drops() {
    QFETCH(QStringList, names);
    QFETCH(int, keys);
    QFETCH(bool, onEditor);
    QFETCH(QString, after);
    Window w;
    const QString a = w.project("a.vtl", 2, 1);
    w.project("b.vtl", 2, 2);
    QVERIFY(w.w->openProjectFile(a));
    QString text;
    if (after.endsWith("refused"))
        answerNextMessageBox(QMessageBox::Ok, &text);
    QList<QUrl> urls;
    for (const QString &name : names)
        urls << QUrl::fromUserInput(name.contains(':') ? name : w.dir.filePath(name));
    QWidget *target = onEditor ? w.w->projectDescription()->viewport() : w.w.data();
    const Qt::DropAction taken = drop(target, urls, Qt::KeyboardModifiers(keys));
    QCOMPARE(w.w->projectFilePath(), a); // not within the drop
    const QString refused = "Drop one project file (.vtl): it is opened, or with Ctrl held its "
                            "tests are added to the open project.";
    QTRY_COMPARE(
        QStringList({QString::number(taken), w.w->windowTitle().section(' ', 0, 0),
                     QString::number(w.w->store().count()),
                     w.w->projectDescription()->toPlainText(), text == refused ? "refused" : text})
            .join(' ')
            .trimmed(),
        after);
}

// Open, Close and drops are refused while the reader thread fills the store.
void TestProjectCommands::refusedDuringARead() {
    qputenv("SETROVIA_SIMULATOR", "tests=3");
    Window w;
    qunsetenv("SETROVIA_SIMULATOR");
    const QString a = w.project("a.vtl"), b = w.project("b.vtl", 2, 2);
    QVERIFY(w.w->openProjectFile(a));
    QTRY_VERIFY(w.w->readAction()->isEnabled());
    w.answers << b; // for Open project, were it not refused
    const QList<std::function<void()>> commands{
        [&] { drop(w.w.data(), {QUrl::fromLocalFile(b)}); },
        [&] { drop(w.w.data(), {QUrl::fromLocalFile(b)}, Qt::ControlModifier); },
        [&] { w.w->openAction()->trigger(); }, [&] { w.w->closeAction()->trigger(); }};
    for (const auto &command : commands) {
        w.w->readAction()->trigger();
        QVERIFY(w.w->isReading());
        QString text;
        answerNextMessageBox(QMessageBox::Ok, &text);
        command();
        QTRY_COMPARE(text, QString("The instrument is being read. Wait until the reading has "
                                   "ended, then try again."));
        QTRY_VERIFY(!w.w->isReading());
        QCOMPARE(w.w->projectFilePath(), a);
        QCOMPARE(w.w->store().count(), 5); // A's two and the instrument's three, not B's
    }
}

QTEST_MAIN(TestProjectCommands)
#include "tst_projectcommands.moc"
