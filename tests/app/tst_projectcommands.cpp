#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAbstractButton>
#include <QAction>
#include <QMessageBox>
#include <QPointer>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTextEdit>
#include <QtTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace testrecords;

namespace {
ProcessP *record(quint8 second, const QByteArray &note = QByteArray()) {
    HeaderFields s;
    s.second = second;
    auto *p = new ProcessP(header(s), samples(1), 1);
    p->setNote(note);
    return p;
}

void makeProject(const QString &path, const QList<int> &seconds, const QStringList &names,
                 const QString &description = QString()) {
    KeeperProc store;
    for (int s : seconds)
        store.add(record(quint8(s), "note " + QByteArray::number(s)));
    QVERIFY(ProjectFile::save(path, store, description, names).ok());
}

// Answers the next modal message boxes, one button each in order; `seen`
// gets each box before it is answered. The timer belongs to the application,
// so nothing outlives it.
void answerBoxes(QList<QMessageBox::StandardButton> buttons,
                 std::function<void(QMessageBox *)> seen = nullptr) {
    auto *timer = new QTimer(qApp);
    QPointer<QMessageBox> last;
    QObject::connect(timer, &QTimer::timeout, [timer, buttons, seen, last]() mutable {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == last || buttons.isEmpty())
            return;
        last = box;
        if (seen)
            seen(box);
        if (QAbstractButton *b = box->button(buttons.takeFirst()))
            b->click();
        else
            box->reject();
        if (buttons.isEmpty())
            timer->deleteLater();
    });
    timer->start(5);
}

void answerNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr,
                          QString *title = nullptr) {
    answerBoxes({button}, [text, title](QMessageBox *box) {
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
    });
}

QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList names(MainWindow &w) {
    QStringList out;
    for (int row = 0; row < w.processModel()->rowCount(); ++row)
        out << w.processModel()->item(row, 2)->text();
    return out;
}

// A window whose file dialogs answer from a list and remember what they were asked.
struct Window {
    TestSettings settings;
    QStringList answers;
    QList<MainWindow::FileRequest> requests;
    QScopedPointer<MainWindow> w;
    explicit Window(const QString &lastWorkDir = QStringLiteral("/lab/start.vtl")) {
        QSettings().setValue("lastWorkDir", lastWorkDir);
        w.reset(new MainWindow);
        w->setTitle("Setrovia+");
        w->setFileChooser([this](const MainWindow::FileRequest &r) {
            requests << r;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    MainWindow *operator->() { return w.data(); }
    MainWindow &operator*() { return *w; }
};

void open(Window &w, const QString &path) {
    w.answers << path;
    w->openAction()->trigger();
}

void edit(Window &w) {
    w->projectDescription()->insertPlainText("!");
}
} // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT
private slots:
    void openShowsTestsNamesAndTitle();
    void saveStoresNotesNamesAndDescription();
    void saveAsExtensionRules();
    void failedSaveKeepsTheOldFileAndTheWork();
    void promptAnswersOnClose();
    void promptOnClosingTheWindow();
    void addProjectNamesOnlyTheNewRows();
    void failedOpenLeavesAnEmptyWindow();
    void exportRules();
    void commandsWaitForTheReader();

private:
    QTemporaryDir dir_;
};

void TestProjectCommands::openShowsTestsNamesAndTitle() {
    Window w;
    const QString path = dir_.filePath("open.vtl");
    makeProject(path, {1, 2}, {"A", "Б"}, "Проект");
    open(w, path); // nothing modified: no question before the dialog
    QCOMPARE(w.requests.size(), 1);
    QCOMPARE(int(w.requests[0].mode), int(MainWindow::FileRequest::Open));
    QCOMPARE(w.requests[0].caption, QStringLiteral("Open project"));
    QCOMPARE(w.requests[0].directory, QStringLiteral("/lab/start.vtl"));
    QCOMPARE(w.requests[0].filter, QStringLiteral("Vantel (*.vtl)"));
    QCOMPARE(names(*w), QStringList({"A", "Б"}));
    QCOMPARE(w->store().count(), 2);
    QCOMPARE(w->projectDescription()->toPlainText(), QStringLiteral("Проект"));
    QVERIFY(w->projectDescription()->isEnabled());
    QCOMPARE(w->windowTitle(), QStringLiteral("open.vtl   Setrovia+  (%1)").arg(path));
    QCOMPARE(w->projectFilePath(), path);
    QCOMPARE(w->lastWorkPath(), path);
    QVERIFY(!w->saveAction()->isEnabled());
    QVERIFY(w->saveAsAction()->isEnabled());
    QVERIFY(w->closeAction()->isEnabled());

    edit(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("open.vtl*  Setrovia+  (%1)").arg(path));
    QVERIFY(w->saveAction()->isEnabled());
}

void TestProjectCommands::saveStoresNotesNamesAndDescription() {
    Window w;
    const QString path = dir_.filePath("save.vtl");
    makeProject(path, {1, 2}, {"A", "B"}, "old");
    open(w, path);
    QMetaObject::invokeMethod(&*w, "addGraph", Q_ARG(QModelIndex, w->processModel()->index(0, 0)));
    QCOMPARE(w->processDescription()->toPlainText(), QStringLiteral("note 1"));
    w->processDescription()->setPlainText("новая заметка");
    w->processModel()->item(1, 2)->setText("второй");
    w->projectDescription()->setPlainText("new");
    QVERIFY(w->saveAction()->isEnabled());
    w->saveAction()->trigger();
    QVERIFY(w.requests.size() == 1); // a project with a path is saved without a dialog
    QVERIFY(!w->saveAction()->isEnabled());
    QCOMPARE(w->windowTitle(), QStringLiteral("save.vtl   Setrovia+  (%1)").arg(path));

    KeeperProc again;
    const ProjectFile::Contents c = ProjectFile::read(path, again);
    QVERIFY(c.ok());
    QCOMPARE(QString::fromUtf8(again.at(0)->note()), QStringLiteral("новая заметка"));
    QCOMPARE(again.at(1)->note(), QByteArray("note 2"));
    QCOMPARE(c.description, QStringLiteral("new"));
    QCOMPARE(c.names, QStringList({"A", "второй"}));
}

void TestProjectCommands::saveAsExtensionRules() {
    Window w;
    w->store().add(record(1));
    emit w->viewer().addedNewProc(w->store().at(0)); // a test read from the instrument
    QVERIFY(w->saveAction()->isEnabled());
    QVERIFY(w->projectFilePath().isEmpty());

    // Save goes through Save as while there is no project file.
    w.answers << dir_.filePath("plain");
    w->saveAction()->trigger();
    QCOMPARE(w.requests[0].caption, QStringLiteral("Save project"));
    QCOMPARE(int(w.requests[0].mode), int(MainWindow::FileRequest::Save));
    QCOMPARE(w.requests[0].directory, QStringLiteral("/lab/start.vtl"));
    QVERIFY(QFileInfo::exists(dir_.filePath("plain.vtl")));
    QCOMPARE(w->projectFilePath(), dir_.filePath("plain.vtl"));
    QCOMPARE(w->lastWorkPath(), dir_.filePath("plain.vtl"));

    // The test is case-sensitive.
    w.answers << dir_.filePath("UPPER.VTL");
    QMetaObject::invokeMethod(&*w, "saveAsProject");
    QCOMPARE(w.requests[1].directory, dir_.filePath("plain.vtl"));
    QVERIFY(QFileInfo::exists(dir_.filePath("UPPER.VTL.vtl")));
    w.answers << dir_.filePath("exact.vtl");
    QMetaObject::invokeMethod(&*w, "saveAsProject");
    QVERIFY(QFileInfo::exists(dir_.filePath("exact.vtl")));
    QVERIFY(!QFileInfo::exists(dir_.filePath("exact.vtl.vtl")));

    // The dialog only confirmed "keep"; the project "keep.vtl" is asked about.
    const QString keep = dir_.filePath("keep.vtl");
    makeProject(keep, {9}, {"kept"});
    const QByteArray kept = bytesOf(keep);
    QString text, title;
    answerNextMessageBox(QMessageBox::No, &text, &title);
    w.answers << dir_.filePath("keep");
    QMetaObject::invokeMethod(&*w, "saveAsProject");
    QCOMPARE(text, QStringLiteral("%1 already exists. Do you want to replace it?").arg(keep));
    QCOMPARE(title, QStringLiteral("Setrovia+"));
    QCOMPARE(bytesOf(keep), kept);
    QCOMPARE(w->projectFilePath(), dir_.filePath("exact.vtl"));
    answerNextMessageBox(QMessageBox::Yes);
    w.answers << dir_.filePath("keep");
    QMetaObject::invokeMethod(&*w, "saveAsProject");
    QVERIFY(bytesOf(keep) != kept);
    QCOMPARE(w->projectFilePath(), keep);
}

void TestProjectCommands::failedSaveKeepsTheOldFileAndTheWork() {
    Window w;
    QTemporaryDir own;
    const QString path = own.filePath("lab.vtl");
    makeProject(path, {1}, {"A"});
    const QByteArray old = bytesOf(path);
    open(w, path);
    for (int s = 2; s < 6; ++s) { // the new image outgrows the limit below
        w->store().add(record(quint8(s)));
        emit w->viewer().addedNewProc(w->store().at(w->store().count() - 1));
    }
    edit(w);
    const QString modified = w->windowTitle();

    // The file system refuses to grow the new file past 16 kB halfway.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16384;
    std::signal(SIGXFSZ, SIG_IGN);
    QString text, title;
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    w->saveAction()->trigger();
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(title, QStringLiteral("Error"));
    QCOMPARE(text, QStringLiteral("File too large"));
    QCOMPARE(bytesOf(path), old);
    QCOMPARE(QDir(own.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"lab.vtl"}));
    QVERIFY(w->saveAction()->isEnabled());
    QCOMPARE(w->windowTitle(), modified);

    // Save as into a path that cannot exist: the project stays where it was.
    const QString plain = own.filePath("plain");
    QVERIFY(QFile(plain).open(QIODevice::WriteOnly));
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    w.answers << plain + "/sub.vtl";
    QMetaObject::invokeMethod(&*w, "saveAsProject");
    QCOMPARE(text, QStringLiteral("Can not open file"));
    QCOMPARE(title, QStringLiteral("Setrovia+"));
    QCOMPARE(w->projectFilePath(), path);
    QCOMPARE(w->windowTitle(), modified);
    QVERIFY(w->saveAction()->isEnabled());

    w->saveAction()->trigger(); // room again: the same save now succeeds
    QVERIFY(!w->saveAction()->isEnabled());
    KeeperProc again;
    QVERIFY(ProjectFile::read(path, again).ok());
    QCOMPARE(again.count(), 5);
}

void TestProjectCommands::promptAnswersOnClose() {
    Window w;
    const QString path = dir_.filePath("prompt.vtl");
    makeProject(path, {1, 2}, {"A", "B"});
    open(w, path);
    edit(w);
    const QString modified = w->windowTitle();
    const QByteArray before = bytesOf(path);

    // Cancel: nothing happens.
    QString text, title;
    answerNextMessageBox(QMessageBox::Cancel, &text, &title);
    w->closeAction()->trigger();
    QCOMPARE(title, QStringLiteral("Save changes"));
    QCOMPARE(text,
             QStringLiteral("The project has been modified. Do you want to save your changes?"));
    QCOMPARE(w->processModel()->rowCount(), 2);
    QCOMPARE(w->windowTitle(), modified);

    // No: closed without saving.
    answerNextMessageBox(QMessageBox::No);
    w->closeAction()->trigger();
    QCOMPARE(w->processModel()->rowCount(), 0);
    QCOMPARE(w->store().count(), 0);
    QCOMPARE(w->windowTitle(), QStringLiteral("Setrovia+"));
    QVERIFY(w->projectFilePath().isEmpty());
    QVERIFY(!w->saveAction()->isEnabled());
    QVERIFY(!w->saveAsAction()->isEnabled());
    QVERIFY(!w->closeAction()->isEnabled());
    QVERIFY(!w->exportAction()->isEnabled());
    QCOMPARE(bytesOf(path), before);

    // Yes: saved, then closed.
    open(w, path);
    edit(w);
    answerNextMessageBox(QMessageBox::Yes);
    w->closeAction()->trigger();
    QCOMPARE(w->processModel()->rowCount(), 0);
    KeeperProc again;
    QCOMPARE(ProjectFile::read(path, again).description, QStringLiteral("!"));

    // Yes, then the save dialog is cancelled: the unsaved tests stay.
    w->store().add(record(7));
    emit w->viewer().addedNewProc(w->store().at(0));
    answerNextMessageBox(QMessageBox::Yes);
    w->closeAction()->setEnabled(true);
    w->closeAction()->trigger();
    QCOMPARE(w->processModel()->rowCount(), 1);
    QVERIFY(w->saveAction()->isEnabled());

    // Yes, then opening another project whose save fails: nothing replaced.
    answerBoxes({QMessageBox::Yes, QMessageBox::Ok});
    w.answers << dir_.filePath("prompt.vtl/x"); // its parent is a file
    const int asked = w.requests.size();
    w->openAction()->trigger();
    QCOMPARE(w.requests.size(), asked + 1); // only the save dialog
    QCOMPARE(w->processModel()->rowCount(), 1);
    QCOMPARE(w->store().count(), 1);
}

void TestProjectCommands::promptOnClosingTheWindow() {
    Window w;
    w->show();
    w->store().add(record(1));
    emit w->viewer().addedNewProc(w->store().at(0));
    answerNextMessageBox(QMessageBox::Cancel);
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QCOMPARE(w->store().count(), 1);

    // Yes with a failing save keeps the window too.
    QStringList texts;
    answerBoxes({QMessageBox::Yes, QMessageBox::Ok},
                [&texts](QMessageBox *box) { texts << box->text(); });
    w.answers << dir_.filePath("open.vtl/x");
    makeProject(dir_.filePath("open.vtl"), {1}, {});
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[1], QStringLiteral("Can not open file"));

    answerNextMessageBox(QMessageBox::No);
    QVERIFY(w->close());

    Window clean; // nothing modified: closes without a question
    clean->show();
    QVERIFY(clean->close());
}

void TestProjectCommands::addProjectNamesOnlyTheNewRows() {
    Window w;
    const QString path = dir_.filePath("three.vtl");
    makeProject(path, {1, 2, 3}, {"r0", "r1", "r2"}, "mine");
    open(w, path);
    const QString other = dir_.filePath("other.vtl");
    makeProject(other, {2, 4, 5}, {"dup", "n3", "n4"}, "theirs");

    w.answers << other;
    w->addProjectAction()->trigger();
    QCOMPARE(w.requests.last().caption, QStringLiteral("Open project"));
    QCOMPARE(w.requests.last().directory, path);
    QCOMPARE(names(*w), QStringList({"r0", "r1", "r2", "n3", "n4"}));
    QCOMPARE(int(w->store().at(3)->startSecond()), 4);
    QCOMPARE(w->projectDescription()->toPlainText(), QStringLiteral("mine"));
    QCOMPARE(w->projectFilePath(), path);
    QCOMPARE(w->lastWorkPath(), path);
    QCOMPARE(w->windowTitle(), QStringLiteral("three.vtl*  Setrovia+  (%1)").arg(path));
    QVERIFY(w->saveAction()->isEnabled());
    QVERIFY(w->closeAction()->isEnabled());

    // Every test already held: no rows, names kept, still marked modified.
    w->saveAction()->trigger();
    QVERIFY(!w->saveAction()->isEnabled());
    w.answers << other;
    w->addProjectAction()->trigger();
    QCOMPARE(names(*w), QStringList({"r0", "r1", "r2", "n3", "n4"}));
    QVERIFY(w->saveAction()->isEnabled());
}

void TestProjectCommands::failedOpenLeavesAnEmptyWindow() {
    Window w;
    const QString good = dir_.filePath("good.vtl");
    makeProject(good, {1}, {"A"});
    open(w, good);
    const QString bad = dir_.filePath("bad.vtl");
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytesOf(good).left(500));
    }
    QString text, title;
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    open(w, bad);
    QCOMPARE(text, QStringLiteral("File %1 corrupt").arg(bad));
    QCOMPARE(title, QStringLiteral("Setrovia+"));
    QCOMPARE(w->processModel()->rowCount(), 0);
    QVERIFY(w->projectFilePath().isEmpty());
    QCOMPARE(w->lastWorkPath(), bad);
    QCOMPARE(w->windowTitle(), QStringLiteral("Setrovia+"));

    answerNextMessageBox(QMessageBox::Ok, &text);
    open(w, dir_.path());
    QCOMPARE(text, QStringLiteral("Can not open file"));
    answerNextMessageBox(QMessageBox::Ok, &text);
    open(w, dir_.filePath("missing.vtl"));
    QCOMPARE(text, QStringLiteral("Can not open file"));

    // Adding a bad file changes nothing of the open project.
    open(w, good);
    answerNextMessageBox(QMessageBox::Ok, &text);
    w.answers << bad;
    w->addProjectAction()->trigger();
    QCOMPARE(names(*w), QStringList({"A"}));
    QVERIFY(!w->saveAction()->isEnabled());
    QCOMPARE(w->projectFilePath(), good);
}

void TestProjectCommands::exportRules() {
    QTemporaryDir out;
    Window w(out.filePath("project.vtl"));
    w->exportAction()->setEnabled(true);
    w->exportAction()->trigger(); // no current test: no dialog
    QVERIFY(w.requests.isEmpty());

    HeaderFields s;
    s.duration = 120;
    s.period = 60;
    QByteArray block = samples(1);
    setCount(block, 1, 0, 1, 10);
    setCount(block, 1, 1, 1, 203);
    w->store().add(new ProcessP(header(s), block, 1));
    emit w->viewer().addedNewProc(w->store().at(0));
    QMetaObject::invokeMethod(&*w, "addGraph", Q_ARG(QModelIndex, w->processModel()->index(0, 0)));
    w->setLocale(QLocale(QLocale::German));

    w.answers << out.filePath("series");
    w->exportAction()->trigger();
    QCOMPARE(w.requests[0].caption, QStringLiteral("Save to file..."));
    QCOMPARE(w.requests[0].directory, out.path());
    QCOMPARE(w.requests[0].filter, QStringLiteral("*.txt"));
    const QString series = out.filePath("series.txt");
    QCOMPARE(bytesOf(series), QByteArray("#\tTime\tVolume\tTemperature\n"
                                         "0\t00:00:00\t0\t0\n"
                                         "1\t00:01:00\t0,25\t20,3\n"));

    // The extended name exists: asked, and No keeps it.
    QVERIFY(QFile::resize(series, 3));
    QString text, title;
    answerNextMessageBox(QMessageBox::No, &text, &title);
    w.answers << out.filePath("series");
    w->exportAction()->trigger();
    QCOMPARE(text, QStringLiteral("%1 already exists. Do you want to replace it?").arg(series));
    QCOMPARE(title, QStringLiteral("Setrovia+"));
    QCOMPARE(bytesOf(series).size(), 3);
    answerNextMessageBox(QMessageBox::Yes);
    w.answers << out.filePath("series");
    w->exportAction()->trigger();
    QCOMPARE(bytesOf(series).size(), 62);
    // A name with the extension is the dialog's own business.
    QVERIFY(QFile::resize(series, 3));
    w.answers << series;
    w->exportAction()->trigger();
    QCOMPARE(bytesOf(series).size(), 62);
    w.answers << out.filePath("upper.TXT");
    w->exportAction()->trigger();
    QVERIFY(QFileInfo::exists(out.filePath("upper.TXT.txt")));

    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    w.answers << series + "/below.txt";
    w->exportAction()->trigger();
    QCOMPARE(title, QStringLiteral("Setrovia+"));
    QVERIFY(!text.isEmpty());
}

// While the instrument is read, open, add, close and delete are refused with
// a message and leave the store alone; saving is a snapshot and goes on.
void TestProjectCommands::commandsWaitForTheReader() {
    Window w;
    const QString path = dir_.filePath("reading.vtl");
    makeProject(path, {1, 2}, {"A", "B"});
    open(w, path);
    QMetaObject::invokeMethod(&*w, "addGraph", Q_ARG(QModelIndex, w->processModel()->index(0, 0)));

    QSemaphore gate;
    // Whatever happens, the reader thread must be let go before the window goes.
    auto release = qScopeGuard([&gate] { gate.release(); });
    QMetaObject::invokeMethod(
        &w->viewer(), [&gate] { gate.acquire(); }, Qt::QueuedConnection);
    w->readAction()->setEnabled(true);
    w->readAction()->trigger(); // the read waits behind the gate
    QVERIFY(w->isReading());

    const QString wait = QStringLiteral(
        "The instrument is being read. Wait until the reading has ended, then try again.");
    QString text;
    answerNextMessageBox(QMessageBox::Ok, &text);
    w.answers << path;
    w->openAction()->trigger();
    QCOMPARE(text, wait);
    answerNextMessageBox(QMessageBox::Ok, &text);
    w->addProjectAction()->trigger();
    QCOMPARE(text, wait);
    text.clear();
    answerNextMessageBox(QMessageBox::Ok, &text);
    w->closeAction()->setEnabled(true);
    w->closeAction()->trigger();
    QCOMPARE(text, wait);
    text.clear();
    answerNextMessageBox(QMessageBox::Ok, &text);
    QMetaObject::invokeMethod(&*w, "deleteSelProc");
    QCOMPARE(text, wait);
    QCOMPARE(w.requests.size(), 1); // no dialog was opened
    QCOMPARE(w->store().count(), 2);
    QCOMPARE(w->processModel()->rowCount(), 2);

    edit(w);
    w->saveAction()->trigger();
    QVERIFY(!w->saveAction()->isEnabled());

    release.dismiss();
    gate.release();
    QTRY_VERIFY(!w->isReading());
    answerNextMessageBox(QMessageBox::Yes);
    QMetaObject::invokeMethod(&*w, "deleteSelProc");
    QCOMPARE(w->store().count(), 1);
}

QTEST_MAIN(TestProjectCommands)
#include "tst_projectcommands.moc"
