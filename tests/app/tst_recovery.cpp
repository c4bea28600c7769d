#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/projectsession.h"
#include "cli/commandline.h"
#include "modalanswer.h"
#include "records/recoveryfile.h"
#include "records/recoverykeeper.h"
#include "testprojects.h"
#include "testsettings.h"

#include <QAction>
#include <QProcess>
#include <QTextEdit>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace testprojects;

namespace {

// A private XDG_DATA_HOME (for the window here and for the child it starts)
// holding the saved project lab.vtl; the window starts when asked.
struct Rig {
    Rig() {
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
        makeProject(project, 2, "as saved");
    }
    ~Rig() { qunsetenv("XDG_DATA_HOME"); }
    QString folder() const { return dir.path() + "/Ostrevan/Setrovia+"; }
    QStringList files(const QString &pattern = "*") const {
        return QDir(folder()).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
    }
    MainWindow &start() {
        w.reset(new MainWindow);
        w->setTitle("Setrovia+");
        return *w;
    }
    QTemporaryDir dir;
    const QString project = dir.filePath("lab.vtl");
    std::unique_ptr<MainWindow> w;
};

// The child edits the project PATH and reads three tests from the simulated
// instrument into it, then waits for its SIGKILL.
int crashChild(char **argv) {
    MainWindow w;
    w.recoveryKeeper()->setDelay(24 * 3600 * 1000); // only the write at the end of the read
    w.openProjectFile(QString::fromLocal8Bit(argv[2]));
    QMetaObject::invokeMethod(&w, "addGraph", Q_ARG(QModelIndex, w.processModel()->index(1, 0)));
    w.processModel()->item(0, 2)->setText("renamed before the crash");
    w.processDescription()->setPlainText("typed before the crash");
    w.projectDescription()->setPlainText("notes before the crash");
    if (QTest::qWaitFor([&w] { return w.readAction()->isEnabled(); }, 60000))
        w.readAction()->trigger();
    return QApplication::exec();
}

// The child, in the folder of lab.vtl, writes it as WRITER does (a command
// line's arguments, or "save" or "recovery"), its files limited to LIMIT
// bytes: it prints what the writer said and exits 0 when the writer reported
// the failure (and the window kept its work), else 1.
int shortWriteChild(char **argv) {
    const QString writer = QString::fromLocal8Bit(argv[3]);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(QByteArray(argv[2]).toLongLong());
    std::signal(SIGXFSZ, SIG_IGN); // the write that crosses the limit fails with EFBIG
    QString said;
    QTextStream stream(&said);
    bool reported = false;
    if (writer == "save") {
        MainWindow w;
        w.openProjectFile("lab.vtl");
        w.projectDescription()->insertPlainText("x");
        answerNextMessageBox(QMessageBox::Ok, &said);
        setrlimit(RLIMIT_FSIZE, &limit);
        w.saveAction()->trigger();
        reported = w.windowTitle().startsWith("lab.vtl*") && w.saveAction()->isEnabled();
    } else if (writer == "recovery") {
        auto *folder = new RecoveryFolder("recovery"); // left as a crash leaves it
        folder->write("lab.vtl", projectImage(0));     // read back whole by the test
        setrlimit(RLIMIT_FSIZE, &limit);
        const AtomicSave saved = folder->write("lab.vtl", bytesOf("lab.vtl"));
        reported = !saved.ok();
        said = saved.error;
    } else {
        setrlimit(RLIMIT_FSIZE, &limit);
        reported = CommandLine(stream, stream).run(QCoreApplication::arguments().mid(3)) ==
                   CommandLine::CannotWrite;
        stream.flush();
    }
    QTextStream(stdout) << said << '\n';
    _exit(reported ? 0 : 1);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void crashThenRestoreThenKeptWhileModified();
    void offeredFileAnswered_data();
    void offeredFileAnswered();
    void shortWriteKeepsTheOldFile_data();
    void shortWriteKeepsTheOldFile();
};

// A crash, a restore, and the life of this instance's own file after it.
void TestRecovery::crashThenRestoreThenKeptWhileModified() {
    Rig rig;
    const QByteArray saved = bytesOf(rig.project);
    qputenv("SETROVIA_SIMULATOR", "tests=3");
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--crash-child", rig.project});
    qunsetenv("SETROVIA_SIMULATOR");
    // Appears only once written in full (renamed into place).
    QTRY_VERIFY_WITH_TIMEOUT(rig.files("*.recovery").size() == 1, 120000);
    child.kill(); // SIGKILL: nothing of the program runs any more
    QVERIFY(child.waitForFinished());

    MainWindow &w = rig.start();
    QString text;
    answerNextMessageBox(QMessageBox::Open, &text);
    w.offerRecovery();
    QVERIFY(text.endsWith(" holds unsaved changes of the project " + rig.project + "."));
    QCOMPARE(w.windowTitle(), "lab.vtl*  Setrovia+  (" + rig.project + ")");
    QCOMPARE(w.store().count(), 5);
    QCOMPARE(w.projectDescription()->toPlainText(), QString("notes before the crash"));
    QCOMPARE(w.processModel()->item(0, 2)->text(), QString("renamed before the crash"));
    QCOMPARE(QString::fromUtf8(w.store().at(1)->note()), QString("typed before the crash"));
    // This instance's own file replaces the old one.
    const QString own = w.recoveryKeeper()->folder().path();
    QCOMPARE(rig.files("*.recovery"), QStringList(QFileInfo(own).fileName()));
    answerNextMessageBox(QMessageBox::No); // closed without saving: nothing is left
    w.closeAction()->trigger();
    QCOMPARE(bytesOf(rig.project), saved);
    QCOMPARE(rig.files(), QStringList());

    // Written while modified only, typing does not put it off; a save and a
    // clean exit remove it.
    const QTimer &timer = w.recoveryKeeper()->timer();
    QVERIFY(w.openProjectFile(rig.project));
    QVERIFY(!timer.isActive());
    w.projectDescription()->insertPlainText("x");
    QTRY_VERIFY(timer.isActive() && timer.remainingTime() < RecoveryKeeper::DefaultDelayMs - 10);
    const int left = timer.remainingTime();
    w.projectDescription()->insertPlainText("yz");
    QVERIFY(timer.remainingTime() <= left);
    w.recoveryKeeper()->setDelay(0); // the timer's own write
    QTRY_VERIFY(QFileInfo::exists(own));
    KeeperProc kept, store;
    QCOMPARE(RecoveryFile::read(own, kept).project.description, QString("xyzas saved"));
    w.saveAction()->trigger();
    QVERIFY(!QFileInfo::exists(own));

    // Add project writes the added tests at once; past 255 tests none can be
    // written, and the status bar says so.
    const QString added = rig.dir.filePath("added.vtl");
    writeFile(added, projectImage(253, "", 2));
    w.setFileChooser([&](const MainWindow::FileRequest &) { return added; });
    w.addProjectAction()->trigger();
    QCOMPARE(RecoveryFile::read(own, store).project.appendedCount(), 255);
    QVERIFY(w.recoveryWarning().isEmpty());
    writeFile(added, projectImage(1, "", 255));
    w.addProjectAction()->trigger();
    QCOMPARE(w.recoveryWarning(), QString("Unsaved changes are not protected against a crash"));
    QVERIFY(RecoveryFile::read(own, store).ok()); // the 255 stay protected
    rig.w.reset();                                // a clean exit
    QCOMPARE(rig.files(), QStringList());
}

void TestRecovery::offeredFileAnswered_data() {
    QTest::addColumn<int>("cut");          // bytes cut off the good file; -1: another format
    QTest::addColumn<int>("answer");       // 0: Escape
    QTest::addColumn<QString>("question"); // %1: the project, or a damaged file
    const QString asked = "The program was not closed properly. A recovery file written on "
                          "06.12.2026 09:15 holds ";
    QTest::newRow("never saved, discarded")
        << 0 << int(QMessageBox::Discard)
        << asked + "the tests and changes of a project that was never saved.";
    QTest::newRow("put off with Escape") << 0 << 0 << QString();
    QTest::newRow("restored, this instance's file unwritable")
        << 0 << int(QMessageBox::Open)
        << asked + "unsaved changes of the project %1. The project file was saved again after "
                   "that, on 06.12.2026 10:30: restoring and saving would replace that version.";
    QTest::newRow("another format")
        << -1 << int(QMessageBox::Ok) << "The file %1 is not a recovery file of this program.";
    QTest::newRow("cut short") << 2 << int(QMessageBox::Ok)
                               << "The recovery file %1 is incomplete or damaged.";
}

// Asked before the project named at start opens: discarded, it is deleted; put
// off, it stays; restored, it stays until this instance's own file is
// written; damaged, it is reported and renamed whole, never opened.
void TestRecovery::offeredFileAnswered() {
    QFETCH(int, cut);
    QFETCH(int, answer);
    QFETCH(QString, question);
    Rig rig;
    QFile project(rig.project); // saved again after the crash
    QVERIFY(project.open(QIODevice::ReadWrite) &&
            project.setFileTime(QDateTime(QDate(2026, 12, 6), QTime(10, 30)),
                                QFileDevice::FileModificationTime));
    const QByteArray good =
        RecoveryFile::encode(question.contains("never saved") ? QString() : rig.project,
                             QDateTime(QDate(2026, 12, 6), QTime(9, 15)), projectImage(3, "", 7));
    const QByteArray bytes = cut < 0 ? projectImage(0) : good.left(good.size() - cut);
    QVERIFY(QDir().mkpath(rig.folder()));
    const QString path = rig.folder() + "/recovery-7-7-1.recovery";
    writeFile(path, bytes);

    MainWindow &w = rig.start();
    QString text;
    if (answer)
        answerNextMessageBox(QMessageBox::StandardButton(answer), &text);
    else // the first thing the question's own event loop does
        QTimer::singleShot(
            0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    const bool restored = answer == QMessageBox::Open;
    if (restored) // a folder in the way
        QVERIFY(QDir().mkpath(w.recoveryKeeper()->folder().path()));
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); // its date form
    w.startUp(rig.project);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(w.store().count(), restored ? 3 : 2);
    QCOMPARE(w.projectSession()->changedOnDisk(), restored); // Save will ask
    QCOMPARE(w.recoveryWarning().isEmpty(), !restored);
    const QStringList left = rig.files(restored ? "*.recovery" : "*"); // with its own lock
    if (cut == 0) {
        QCOMPARE(text, question.replace("%1", rig.project));
        QCOMPARE(left, answer == QMessageBox::Discard ? QStringList()
                                                      : QStringList({"recovery-7-7-1.recovery"}));
        if (restored) { // the warning stays until a write succeeds
            QVERIFY(QDir(w.recoveryKeeper()->folder().path()).removeRecursively());
            QVERIFY(w.recoveryKeeper()->writeNow() && w.recoveryWarning().isEmpty());
        }
        return;
    }
    const QString aside = rig.folder() + "/" + left.value(0);
    QVERIFY(left.size() == 1 && aside.startsWith(path + ".damaged-"));
    QCOMPARE(text,
             question.arg(path) + " It was not opened and has been renamed to " + aside + ".");
    QCOMPARE(bytesOf(aside), bytes);
    QVERIFY(w.recoveryKeeper()->folder().orphans().empty()); // nor offered again
}

void TestRecovery::shortWriteKeepsTheOldFile_data() {
    QTest::addColumn<QStringList>("writer");
    QTest::addColumn<int>("limit"); // bytes a file may take; the writer's output is larger
    for (const char *writer :
         {"save", "recovery", "read --output lab.vtl", "report lab.vtl --csv --output out.csv"})
        for (int limit : {100, 16384, 16385, 4 << 20})
            QTest::addRow("%s, limit %d", writer, limit) << QString(writer).split(' ') << limit;
}

// Every writer: a write the file system cuts short is reported with its
// reason, and what stood there stays byte for byte, with no file left over.
void TestRecovery::shortWriteKeepsTheOldFile() {
    QFETCH(QStringList, writer);
    QFETCH(int, limit);
    Rig rig;
    const QByteArray image = projectImage(1) + QByteArray(limit, 'n'); // a name over the limit
    writeFile(rig.project, image);
    writeFile(rig.dir.filePath("out.csv"), "old;csv\r\n");
    qputenv("SETROVIA_SIMULATOR", "tests=1");
    QProcess child;
    child.setWorkingDirectory(rig.dir.path());
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{"--short-write-child", QString::number(limit)} + writer);
    qunsetenv("SETROVIA_SIMULATOR");
    QVERIFY(child.waitForFinished(120000));
    const QString said = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(said));
    QVERIFY2(said.contains("File too large"), qPrintable(said));
    QCOMPARE(bytesOf(rig.project), image);
    QCOMPARE(bytesOf(rig.dir.filePath("out.csv")), QByteArray("old;csv\r\n"));
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"lab.vtl", "out.csv"}));
    if (writer[0] == "recovery") { // the one written before is whole
        const QStringList left = QDir(rig.dir.filePath("recovery")).entryList({"*.recovery*"});
        QCOMPARE(left.size(), 2); // with its lock
        KeeperProc store;
        QVERIFY(RecoveryFile::read(rig.dir.filePath("recovery/" + left.first()), store).ok());
    }
}

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Ostrevan");
    QCoreApplication::setApplicationName("Setrovia+");
    if (argc >= 3 && qstrcmp(argv[1], "--crash-child") == 0)
        return crashChild(argv); // no TestSettings: its folder would outlive the SIGKILL
    TestSettings settings;
    if (argc >= 4 && qstrcmp(argv[1], "--short-write-child") == 0)
        return shortWriteChild(argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
