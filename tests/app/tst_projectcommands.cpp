#include "app/mainwindow.h"
#include "app/processmodel.h"
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

using namespace testrecords;
using namespace testprojects;

namespace {

// A window whose file dialogs answer from a list.
struct Window {
    explicit Window(const QByteArray &simulator = QByteArray()) {
        if (!simulator.isNull())
            qputenv("SETROVIA_SIMULATOR", simulator);
        w.reset(new MainWindow);
        qunsetenv("SETROVIA_SIMULATOR");
        w->setTitle("Setrovia+");
        w->setFileChooser([this](const MainWindow::FileRequest &) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    // A project of `tests` tests from second `first` on, described by its name.
    QString project(const QString &name, int tests = 2, int first = 1) {
        makeProject(dir.filePath(name), tests, name, first);
        return dir.filePath(name);
    }
    void open(const QString &path) {
        answers << path;
        w->openAction()->trigger();
    }
    void addNew(quint8 second) { // read from the instrument
        HeaderFields s;
        s.second = second;
        w->store().add(new ProcessP(header(s), samples(1), 1));
        emit w->viewer().addedNewProc(w->store().at(w->store().count() - 1));
    }
    TestSettings settings;
    QTemporaryDir dir;
    QStringList answers;
    QScopedPointer<MainWindow> w;
};

// A drag that enters `target` and is dropped there, as the toolkit delivers
// it; returns whether the drop was taken, and with which action.
Qt::DropAction drop(QWidget *target, const QMimeData &data, Qt::KeyboardModifiers keys = {}) {
    const QPoint at = target->rect().center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent dropped(at, actions, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
}

Qt::DropAction drop(QWidget *target, const QStringList &paths, Qt::KeyboardModifiers keys = {}) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << (p.contains("://") ? QUrl(p) : QUrl::fromLocalFile(p));
    data.setUrls(urls);
    return drop(target, data, keys);
}

void chooseRecent(MainWindow &w, const QString &text) {
    for (QAction *a : w.recentProjects()->menu()->actions())
        if (a->text() == text)
            return a->trigger();
    QFAIL(qPrintable("no entry " + text));
}

} // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT
private slots:
    void saveAsksWhenTheFileChangedOnDisk();
    void promptAnswersOnCloseTitleSaysModified();
    void commandThatEndsEarlyChangesNothing_data();
    void commandThatEndsEarlyChangesNothing();
    void recentNewestFirstAtMostEight();
    void recentStoredValue_data();
    void recentStoredValue();
    void recentListFollowsOpenAndSave();
    void recentEntryOpensAsOpenProject();
    void dropOpensOrAdds_data();
    void dropOpensOrAdds();
    void otherDropsAreRefused();
    void refusedDuringARead();

private:
    QTemporaryDir dir_;
};

// A file another program wrote since it was opened (same size and time) is
// not replaced unasked: Cancel keeps it, Save As keeps it and saves elsewhere.
void TestProjectCommands::saveAsksWhenTheFileChangedOnDisk() {
    Window w;
    const QString path = w.project("lab.vtl");
    w.open(path);
    w.w->projectDescription()->insertPlainText("mine ");
    const QDateTime time = QFileInfo(path).lastModified();
    const QByteArray theirs = projectImage(2, "LAB.VTL", 1);
    writeFile(path, theirs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) &&
            file.setFileTime(time, QFileDevice::FileModificationTime));
    file.close();
    QStringList texts;
    answerMessageBoxes({QMessageBox::Cancel}, &texts);
    w.w->saveAction()->trigger();
    QCOMPARE(texts, QStringList("The project file " + path +
                                " has been changed by another program since it was opened or "
                                "saved here."));
    QCOMPARE(bytesOf(path), theirs);
    QVERIFY(w.w->saveAction()->isEnabled());

    const QString mine = w.dir.filePath("mine.vtl");
    w.answers << mine;
    answerMessageBoxes({QMessageBox::SaveAll});
    w.w->saveAction()->trigger();
    QCOMPARE(bytesOf(path), theirs);
    QCOMPARE(w.w->projectFilePath(), mine);
    QVERIFY(!w.w->saveAction()->isEnabled());
}

// Modified is always in the title, whether the project has a file or not.
void TestProjectCommands::promptAnswersOnCloseTitleSaysModified() {
    Window w;
    const QString path = w.project("prompt.vtl");
    w.open(path);
    w.w->projectDescription()->insertPlainText("!");
    const QString modified = w.w->windowTitle();
    const QByteArray before = bytesOf(path);

    QString text, title;
    answerNextMessageBox(QMessageBox::Cancel, &text, &title);
    w.w->closeAction()->trigger();
    QCOMPARE(title, QStringLiteral("Save changes"));
    QCOMPARE(text,
             QStringLiteral("The project has been modified. Do you want to save your changes?"));
    QCOMPARE(w.w->processModel()->rowCount(), 2);
    QCOMPARE(w.w->windowTitle(), modified);

    answerNextMessageBox(QMessageBox::No); // closed without saving
    w.w->closeAction()->trigger();
    QCOMPARE(w.w->store().count(), 0);
    QCOMPARE(w.w->windowTitle(), QStringLiteral("Setrovia+"));
    QCOMPARE(bytesOf(path), before);

    // Yes, then the save dialog is cancelled: a refusal, the unsaved test stays.
    w.addNew(7); // into an empty window
    QCOMPARE(w.w->windowTitle(), QString("*  Setrovia+"));
    answerNextMessageBox(QMessageBox::Yes);
    w.w->closeAction()->setEnabled(true);
    w.w->closeAction()->trigger();
    QCOMPARE(w.w->processModel()->rowCount(), 1);
    QVERIFY(w.w->saveAction()->isEnabled());
    const QString titled = w.dir.filePath("titled.vtl");
    w.answers << titled;
    w.w->saveAction()->trigger();
    QCOMPARE(w.w->windowTitle(), QString("titled.vtl   Setrovia+  (%1)").arg(titled));
    w.addNew(8);
    QCOMPARE(w.w->windowTitle(), QString("titled.vtl*  Setrovia+  (%1)").arg(titled));
}

void TestProjectCommands::commandThatEndsEarlyChangesNothing_data() {
    QTest::addColumn<bool>("add");       // Add project, else Open project
    QTest::addColumn<int>("prompt");     // the answer to the save prompt of Open
    QTest::addColumn<QString>("chosen"); // what the dialog answers; null: not asked
    QTest::addColumn<QString>("message");
    const int no = QMessageBox::No;
    const QString cannotOpen = "Can not open file";
    const QString damaged = dir_.filePath("damaged.vtl"), huge = dir_.filePath("huge.vtl");
    writeFile(damaged, projectImage(2).left(200));
    writeFile(huge, QByteArray("format 04\x01", 10));
    QVERIFY(QFile::resize(huge, qint64(1) << 30));
    QTest::newRow("open: prompt cancelled")
        << false << int(QMessageBox::Cancel) << QString() << QString();
    QTest::newRow("open: dialog cancelled") << false << no << "" << QString();
    QTest::newRow("open: damaged") << false << no << damaged << "File " + damaged + " corrupt";
    QTest::newRow("add: 1 GB behind the format string")
        << true << 0 << huge
        << "File " + huge + " is too large to be a project file (at most 268435456 bytes).";
    QTest::newRow("add: fails on the first read") << true << 0 << "/proc/self/mem" << cannotOpen;
    const QString fifo = dir_.filePath("pipe.vtl");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QTest::newRow("add: a pipe, which would never end") << true << 0 << fifo << cannotOpen;
}

// A command that stops on the way leaves the open project as it was, modified and all.
void TestProjectCommands::commandThatEndsEarlyChangesNothing() {
    QFETCH(bool, add);
    QFETCH(int, prompt);
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    Window w;
    const QString path = w.project("lab.vtl");
    w.open(path);
    w.w->projectDescription()->insertPlainText("typed ");
    const QString title = w.w->windowTitle();
    QVERIFY(title.contains('*'));
    const ProcessP *first = w.w->store().at(0);

    bool asked = false;
    w.w->setFileChooser([&](const MainWindow::FileRequest &) {
        asked = true;
        return chosen;
    });
    QStringList shown, titles;
    QList<QMessageBox::StandardButton> answers;
    if (!add)
        answers << QMessageBox::StandardButton(prompt);
    if (!message.isNull())
        answers << QMessageBox::Ok;
    if (!answers.isEmpty())
        answerMessageBoxes(answers, &shown);
    (add ? w.w->addProjectAction() : w.w->openAction())->trigger();
    QCOMPARE(asked, !chosen.isNull());
    QCOMPARE(shown.size(), answers.size());
    if (!message.isNull())
        QCOMPARE(shown.last(), message);
    QCOMPARE(w.w->store().count(), 2);
    QCOMPARE(w.w->store().at(0), first);
    QCOMPARE(w.w->processModel()->rowCount(), 2);
    QCOMPARE(w.w->projectDescription()->toPlainText(), QString("typed lab.vtl"));
    QCOMPARE(w.w->projectFilePath(), path);
    QCOMPARE(w.w->windowTitle(), title);
    QVERIFY(w.w->saveAction()->isEnabled());
}

void TestProjectCommands::recentNewestFirstAtMostEight() {
    TestSettings settings;
    QMenu file;
    RecentProjects recent(&file, nullptr);
    QVERIFY(!recent.menu()->isEnabled());
    for (int i = 0; i < 10; ++i)
        recent.add(QString("/lab/p%1.vtl").arg(i));
    recent.add("/lab/x/../p5.vtl"); // again, spelt otherwise
    recent.add("relative.vtl");     // made absolute
    const QString relative = QDir::current().absoluteFilePath("relative.vtl");
    QCOMPARE(RecentProjects::paths(),
             QStringList({relative, "/lab/p5.vtl", "/lab/p9.vtl", "/lab/p8.vtl", "/lab/p7.vtl",
                          "/lab/p6.vtl", "/lab/p4.vtl", "/lab/p3.vtl"}));
    QVERIFY(recent.menu()->isEnabled());

    recent.menu()->actions().last()->trigger(); // Clear list
    QCOMPARE(RecentProjects::paths(), QStringList());
    QVERIFY(!recent.menu()->isEnabled());
}

void TestProjectCommands::recentStoredValue_data() {
    QTest::addColumn<QByteArray>("line"); // in the settings file
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("one as a text")
        << QByteArray("recentProjects=/a/b.vtl") << QStringList({"/a/b.vtl"});
    QTest::newRow("bytes") << QByteArray("recentProjects=@ByteArray(/a/b.vtl)") << QStringList();
    QTest::newRow("not absolute, empty, control, twice")
        << QByteArray("recentProjects=b.vtl, , \"/a/\\x1b.vtl\", /a/c.vtl, /a/./c.vtl")
        << QStringList({"/a/c.vtl"});
    QByteArray many = "recentProjects=";
    for (int i = 0; i < 12; ++i)
        many += QByteArray(i ? ", " : "") + "/m/" + QByteArray::number(i);
    QTest::newRow("twelve") << many
                            << QStringList({"/m/0", "/m/1", "/m/2", "/m/3", "/m/4", "/m/5", "/m/6",
                                            "/m/7"});
}

// A damaged settings value never gives entries that could not be opened.
void TestProjectCommands::recentStoredValue() {
    QFETCH(QByteArray, line);
    QFETCH(QStringList, paths);
    TestSettings settings;
    QDir().mkpath(QFileInfo(settings.file()).path());
    writeFile(settings.file(), "[General]\n" + line + "\n");
    QCOMPARE(RecentProjects::paths(), paths);
}

void TestProjectCommands::recentListFollowsOpenAndSave() {
    Window w;
    const QString first = w.project("first.vtl"), second = w.dir.filePath("second.vtl");
    QVERIFY(w.w->openProjectFile(first));
    w.answers << second;
    w.w->saveAsAction()->trigger();
    QCOMPARE(RecentProjects::paths(), QStringList({second, first}));
    w.answers << w.project("added.vtl", 1, 3); // Add project is no opening of it
    w.w->addProjectAction()->trigger();
    QCOMPARE(RecentProjects::paths(), QStringList({second, first}));
}

// As Open project after its dialog; a file gone leaves the list, a damaged one stays.
void TestProjectCommands::recentEntryOpensAsOpenProject() {
    Window w;
    const QString older = w.project("older.vtl", 1, 1), newer = w.project("newer.vtl", 1, 2);
    QVERIFY(w.w->openProjectFile(older) && w.w->openProjectFile(newer));
    w.w->projectDescription()->insertPlainText("typed ");

    QString text;
    answerNextMessageBox(QMessageBox::No, &text);
    chooseRecent(*w.w, "older.vtl");
    QVERIFY(text.startsWith("The project has been modified."));
    QCOMPARE(w.w->projectFilePath(), older);
    QCOMPARE(w.w->projectDescription()->toPlainText(), QString("older.vtl"));
    QCOMPARE(RecentProjects::paths(), QStringList({older, newer}));

    QVERIFY(QFile::remove(newer));
    answerNextMessageBox(QMessageBox::Ok, &text);
    chooseRecent(*w.w, "newer.vtl");
    QCOMPARE(text, "The project " + newer +
                       " no longer exists. It has been removed from the list of recent projects.");
    QCOMPARE(RecentProjects::paths(), QStringList({older}));
    QCOMPARE(w.w->projectFilePath(), older);

    writeFile(newer, "format 04\x05");
    w.w->recentProjects()->add(newer);
    answerNextMessageBox(QMessageBox::Ok, &text);
    chooseRecent(*w.w, "newer.vtl");
    QCOMPARE(text, "File " + newer + " corrupt");
    QCOMPARE(RecentProjects::paths(), QStringList({newer, older}));
    QCOMPARE(w.w->projectFilePath(), older);
    QCOMPARE(w.w->store().count(), 1);
}

void TestProjectCommands::dropOpensOrAdds_data() {
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<bool>("onEditor"); // dropped on a description, not the window
    QTest::addColumn<bool>("shift");    // a move proposed
    QTest::newRow("open") << false << false << false;
    QTest::newRow("open, Shift") << false << false << true;
    QTest::newRow("add, on an editor") << true << true << false;
}

void TestProjectCommands::dropOpensOrAdds() {
    QFETCH(bool, ctrl);
    QFETCH(bool, onEditor);
    QFETCH(bool, shift);
    Window w;
    const QString a = w.project("a.vtl", 2, 1), b = w.project("b.vtl", 2, 2);
    w.w->show();
    QVERIFY(w.w->openProjectFile(a));
    QWidget *target = onEditor ? w.w->projectDescription()->viewport() : w.w.data();
    const Qt::KeyboardModifiers keys = (ctrl ? Qt::ControlModifier : Qt::NoModifier) |
                                       (shift ? Qt::ShiftModifier : Qt::NoModifier);
    // Copied, never moved: a move would delete the file where it came from.
    QCOMPARE(drop(target, {b}, keys), Qt::CopyAction);
    QCOMPARE(w.w->projectFilePath(), a); // not within the drop
    if (ctrl) {
        QTRY_COMPARE(w.w->store().count(), 3);
        QCOMPARE(w.w->projectFilePath(), a);
        QVERIFY(w.w->saveAction()->isEnabled());
        QCOMPARE(w.w->projectDescription()->toPlainText(), QString("a.vtl"));
    } else {
        QTRY_COMPARE(w.w->projectFilePath(), b);
        QCOMPARE(w.w->store().count(), 2);
    }
    QVERIFY(QFileInfo::exists(b));
}

// Several files, files of another kind, and drags with no local file.
void TestProjectCommands::otherDropsAreRefused() {
    Window w;
    const QString a = w.project("a.vtl"), b = w.project("b.vtl");
    w.w->show();
    QVERIFY(w.w->openProjectFile(a));
    for (const QStringList &paths : {QStringList{a, b}, QStringList{w.dir.filePath("notes.txt")}}) {
        QString text;
        answerNextMessageBox(QMessageBox::Ok, &text);
        QCOMPARE(drop(w.w.data(), paths), Qt::CopyAction);
        QTRY_COMPARE(text, QString("Drop one project file (.vtl): it is opened, or with Ctrl "
                                   "held its tests are added to the open project."));
        QCOMPARE(w.w->projectFilePath(), a);
        QCOMPARE(w.w->store().count(), 2);
    }
    QCOMPARE(drop(w.w.data(), {"https://example.org/p.vtl"}), Qt::IgnoreAction);
    // Text still drops into the editors.
    w.w->processDescription()->setEnabled(true);
    QMimeData text;
    text.setText("dropped text");
    QVERIFY(drop(w.w->processDescription()->viewport(), text) != Qt::IgnoreAction);
    QCOMPARE(w.w->processDescription()->toPlainText(), QString("dropped text"));
}

// Open, Close and drops are refused while the reader thread fills the store.
void TestProjectCommands::refusedDuringARead() {
    Window w("tests=3");
    const QString a = w.project("a.vtl"), b = w.project("b.vtl", 2, 2);
    w.w->show();
    QVERIFY(w.w->openProjectFile(a));
    QTRY_VERIFY(w.w->readAction()->isEnabled());
    const QList<std::function<void()>> commands{
        [&] { drop(w.w.data(), {b}); }, [&] { drop(w.w.data(), {b}, Qt::ControlModifier); },
        [&] { w.open(b); }, [&] { w.w->closeAction()->trigger(); }};
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
