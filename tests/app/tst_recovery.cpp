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
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

using namespace testprojects;

namespace {

const char ChildFlag[] = "--crash-child";
const char ShortWriteFlag[] = "--short-write-child";

// A private XDG_DATA_HOME, for the window here and for the child it starts.
struct DataHome {
    DataHome() { qputenv("XDG_DATA_HOME", dir.path().toUtf8()); }
    ~DataHome() { qunsetenv("XDG_DATA_HOME"); }
    QString folder() const { return dir.path() + "/Ostrevan/Setrovia+"; }
    QStringList files(const QString &pattern = "*") const {
        return QDir(folder()).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir dir;
};

// Presses Escape on the next message box; one that stays open is closed
// otherwise, with *stayed set.
void escapeNextMessageBox(bool *stayed) {
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, stayed] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        QTest::keyClick(box, Qt::Key_Escape);
        *stayed = box->isVisible();
        if (*stayed)
            box->done(0);
    });
    poll->start();
}

struct Window {
    Window() {
        w.setTitle("Setrovia+");
        w.show();
    }
    TestSettings settings;
    MainWindow w;
};

// The child edits a project or reads the simulated instrument, then waits for its SIGKILL.
int crashChild(int argc, char **argv) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Ostrevan");
    QCoreApplication::setApplicationName("Setrovia+");
    const QString mode = QString::fromLocal8Bit(argv[2]);
    MainWindow w;
    w.setTitle("Setrovia+");
    w.show();
    if (mode == "edit") {
        w.recoveryKeeper()->setDelay(10);
        if (!w.openProjectFile(QString::fromLocal8Bit(argv[3])))
            return 2;
        QMetaObject::invokeMethod(&w, "addGraph",
                                  Q_ARG(QModelIndex, w.processModel()->index(1, 0)));
        w.processModel()->item(0, 2)->setText("renamed before the crash");
        w.processDescription()->setPlainText("typed before the crash");
        w.projectDescription()->setPlainText("notes before the crash");
    } else {
        // Only the write at the end of the read, with all its tests.
        w.recoveryKeeper()->setDelay(24 * 3600 * 1000);
        auto *start = new QTimer(&w);
        QObject::connect(start, &QTimer::timeout, &w, [&w, start] {
            if (w.readAction()->isEnabled()) {
                start->stop();
                w.readAction()->trigger();
            }
        });
        start->start(10);
    }
    return app.exec();
}

// The child writes the project of DIR/lab.vtl as WRITER does, its files
// limited to LIMIT bytes: it prints what the writer said and exits 0 when the
// writer reported the failure (and the window kept its work), else 1.
int shortWriteChild(char **argv) {
    const QString writer = QString::fromLocal8Bit(argv[2]);
    const QDir dir(QString::fromLocal8Bit(argv[4]));
    const QString project = dir.filePath("lab.vtl");
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(QByteArray(argv[3]).toLongLong());
    std::signal(SIGXFSZ, SIG_IGN); // the write that crosses the limit fails with EFBIG
    QString said;
    bool reported = false;
    if (writer == "save") {
        MainWindow w;
        if (!w.openProjectFile(project))
            return 2;
        w.projectDescription()->insertPlainText("x");
        answerNextMessageBox(QMessageBox::Ok, &said);
        setrlimit(RLIMIT_FSIZE, &limit);
        w.saveAction()->trigger();
        reported = w.windowTitle().startsWith("lab.vtl*") && w.saveAction()->isEnabled();
    } else if (writer == "recovery") {
        // Left as a crash leaves it.
        auto *folder = new RecoveryFolder(dir.filePath("recovery"));
        if (!folder->write(project, projectImage(0)).ok())
            return 2;
        setrlimit(RLIMIT_FSIZE, &limit);
        const AtomicSave saved = folder->write(project, bytesOf(project));
        reported = !saved.ok();
        said = saved.error;
    } else {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        setrlimit(RLIMIT_FSIZE, &limit);
        reported = CommandLine(outStream, errStream)
                       .run(writer == "read"
                                ? QStringList{"read", "--output", project}
                                : QStringList{"report", project, "--csv", "--output",
                                              dir.filePath("out.csv")}) == CommandLine::CannotWrite;
        said = err;
    }
    std::printf("%s\n", qPrintable(said));
    std::fflush(stdout);
    _exit(reported ? 0 : 1);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void crashThenRestore_data();
    void crashThenRestore();
    void writtenWhileModifiedOnly();
    void offeredFileAnswered_data();
    void offeredFileAnswered();
    void shortWriteKeepsTheOldFile_data();
    void shortWriteKeepsTheOldFile();
};

void TestRecovery::crashThenRestore_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("typed edits") << "edit";
    QTest::newRow("a read from the instrument") << "read";
}

void TestRecovery::crashThenRestore() {
    QFETCH(QString, mode);
    DataHome data;
    QTemporaryDir dir;
    const QString project = dir.filePath("lab.vtl");
    makeProject(project, 2, "as saved");
    const QByteArray saved = bytesOf(project);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (mode == "read")
        env.insert("SETROVIA_SIMULATOR", "tests=3");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {ChildFlag, mode, project});
    QVERIFY(child.waitForStarted());
    // Appears only once written in full (renamed into place).
    QTRY_VERIFY_WITH_TIMEOUT(data.files("*.recovery").size() == 1, 120000);
    // Its owner runs: not offered, not touched.
    QVERIFY(RecoveryFolder(data.folder()).orphans().empty());
    child.kill(); // SIGKILL: nothing of the program runs any more
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(data.files("*.recovery").size(), 1);
    QCOMPARE(bytesOf(project), saved);

    Window win;
    QString text;
    answerNextMessageBox(QMessageBox::Open, &text);
    win.w.offerRecovery();
    MainWindow &w = win.w;
    QVERIFY(w.saveAction()->isEnabled());
    QVERIFY(w.windowTitle().contains('*'));
    if (mode == "edit") {
        QVERIFY(text.endsWith(" holds unsaved changes of the project " + project + "."));
        QCOMPARE(w.projectFilePath(), project);
        QVERIFY(w.windowTitle().startsWith("lab.vtl*"));
        QCOMPARE(w.store().count(), 2);
        QCOMPARE(w.projectDescription()->toPlainText(), QString("notes before the crash"));
        QCOMPARE(w.processModel()->item(0, 2)->text(), QString("renamed before the crash"));
        QCOMPARE(QString::fromUtf8(w.store().at(1)->note()), QString("typed before the crash"));
        w.saveAction()->trigger(); // into the original file, and no recovery file is left
        QVERIFY(bytesOf(project) != saved);
        QCOMPARE(data.files(), QStringList());
    } else {
        QVERIFY(text.endsWith("holds the tests and changes of a project that was never saved."));
        QCOMPARE(w.projectFilePath(), QString());
        QCOMPARE(w.store().count(), 3);
        // Restored: this instance's own file replaces the old one.
        QCOMPARE(data.files("*.recovery"),
                 QStringList({QFileInfo(w.recoveryKeeper()->folder().path()).fileName()}));
    }
}

// Kept while modified; a save, a close and a clean exit remove it; typing does not delay it.
void TestRecovery::writtenWhileModifiedOnly() {
    DataHome data;
    QTemporaryDir dir;
    const QString project = dir.filePath("lab.vtl");
    makeProject(project, 2, "as saved");
    auto win = std::make_unique<Window>();
    MainWindow &w = win->w;
    const QString own = w.recoveryKeeper()->folder().path();
    const QTimer &timer = w.recoveryKeeper()->timer();
    QVERIFY(w.openProjectFile(project));
    QVERIFY(!timer.isActive());

    w.projectDescription()->insertPlainText("x");
    QVERIFY(timer.isActive());
    QTRY_VERIFY(timer.remainingTime() < RecoveryKeeper::DefaultDelayMs - 10);
    const int left = timer.remainingTime();
    for (const char *key : {"y", "z"})
        w.projectDescription()->insertPlainText(key);
    QVERIFY(timer.remainingTime() <= left);
    w.recoveryKeeper()->setDelay(0); // the timer's own write
    QTRY_VERIFY(QFileInfo::exists(own));
    QVERIFY(!timer.isActive());
    KeeperProc restored;
    const RecoveryFile::Contents c = RecoveryFile::read(own, restored);
    QCOMPARE(c.projectPath, project);
    QCOMPARE(c.project.description, QString("xyzas saved"));

    w.saveAction()->trigger();
    QVERIFY(!QFileInfo::exists(own));
    QVERIFY(!timer.isActive());

    // Unwritable, it says so in the status bar until a write succeeds.
    w.projectDescription()->insertPlainText("y");
    QVERIFY(w.recoveryWarning().isEmpty());
    QVERIFY(QDir().mkpath(own));
    QVERIFY(!w.recoveryKeeper()->writeNow());
    QCOMPARE(w.recoveryWarning(), QString("Unsaved changes are not protected against a crash"));
    QVERIFY(QDir(own).removeRecursively());
    QVERIFY(w.recoveryKeeper()->writeNow());
    QVERIFY(w.recoveryWarning().isEmpty());
    answerNextMessageBox(QMessageBox::No); // closed without saving
    w.closeAction()->trigger();
    QCOMPARE(w.store().count(), 0);
    QVERIFY(!QFileInfo::exists(own));

    // Add project keeps the file and writes the added tests at once; past
    // 255 tests none can be written, and the status bar says so.
    QVERIFY(w.openProjectFile(project));
    w.projectDescription()->insertPlainText("z");
    QVERIFY(w.recoveryKeeper()->writeNow());
    const QString added = dir.filePath("added.vtl");
    writeFile(added, projectImage(253, "", 2));
    w.setFileChooser([&](const MainWindow::FileRequest &) { return added; });
    w.addProjectAction()->trigger();
    KeeperProc kept;
    QCOMPARE(RecoveryFile::read(own, kept).project.appendedCount(), 255);
    QVERIFY(w.recoveryWarning().isEmpty());
    writeFile(added, projectImage(1, "", 255));
    w.addProjectAction()->trigger();
    QCOMPARE(w.store().count(), 256);
    QVERIFY(!w.recoveryWarning().isEmpty());
    QVERIFY(RecoveryFile::read(own, kept).ok()); // the 255 stay protected
    win.reset();                                 // a clean exit
    QCOMPARE(data.files(), QStringList());
}

void TestRecovery::offeredFileAnswered_data() {
    QTest::addColumn<int>("cut");    // bytes cut off the good file; -1: another format
    QTest::addColumn<int>("answer"); // 0: Escape
    QTest::addColumn<QString>("problem");
    QTest::newRow("discarded") << 0 << int(QMessageBox::Discard) << QString();
    QTest::newRow("put off with Escape") << 0 << 0 << QString();
    QTest::newRow("restored, this instance's file unwritable")
        << 0 << int(QMessageBox::Open) << QString();
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
    QFETCH(QString, problem);
    DataHome data;
    QDir().mkpath(data.folder());
    const QString path = data.folder() + "/recovery-7-7-1.recovery";
    // Of a project saved again since (now, after 09:15).
    const QString named = data.dir.filePath("named.vtl");
    makeProject(named, 3);
    const QByteArray good = RecoveryFile::encode(
        named, QDateTime(QDate(2026, 12, 6), QTime(9, 15, 0)), projectImage(2, "", 7));
    const QByteArray bytes = cut < 0 ? projectImage(0) : good.left(good.size() - cut);
    writeFile(path, bytes);

    Window win;
    QString text;
    bool stayed = false;
    if (answer)
        answerNextMessageBox(QMessageBox::StandardButton(answer), &text);
    else
        escapeNextMessageBox(&stayed);
    const QString own = win.w.recoveryKeeper()->folder().path();
    if (answer == QMessageBox::Open)
        QVERIFY(QDir().mkpath(own));                                 // a folder in the way
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); // its date form
    win.w.startUp(named);
    QLocale::setDefault(QLocale::c());
    QVERIFY(!stayed);
    const QStringList left = data.files();
    if (answer == QMessageBox::Open) {
        QCOMPARE(win.w.store().count(), 2);
        QVERIFY(win.w.saveAction()->isEnabled());
        QVERIFY(win.w.projectSession()->changedOnDisk()); // Save will ask
        QVERIFY(!win.w.recoveryWarning().isEmpty());
        QCOMPARE(bytesOf(path), bytes);
        return;
    }
    QCOMPARE(win.w.store().count(), 3);
    QVERIFY(!win.w.saveAction()->isEnabled());
    if (problem.isEmpty()) {
        if (answer)
            QCOMPARE(text, QString("The program was not closed properly. A recovery file written "
                                   "on 06.12.2026 09:15 holds unsaved changes of the project "
                                   "%1. The project file was saved again after that, on %2: "
                                   "restoring and saving would replace that version.")
                               .arg(named, QLocale(QLocale::Russian, QLocale::Russia)
                                               .toString(QFileInfo(named).lastModified(),
                                                         QLocale::ShortFormat)));
        QCOMPARE(left, answer ? QStringList() : QStringList({"recovery-7-7-1.recovery"}));
        return;
    }
    QCOMPARE(left.size(), 1);
    QVERIFY(left.first().startsWith("recovery-7-7-1.recovery.damaged-"));
    const QString aside = data.folder() + "/" + left.first();
    QCOMPARE(text, problem.arg(path) + " It was not opened and has been renamed to " + aside + ".");
    QCOMPARE(bytesOf(aside), bytes);
    QVERIFY(win.w.recoveryKeeper()->folder().orphans().empty());
}

void TestRecovery::shortWriteKeepsTheOldFile_data() {
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("limit"); // bytes a file may take; the writer's output is larger
    for (const char *writer : {"save", "read", "csv", "recovery"})
        for (int limit : {100, 16384, 16385, 4 << 20})
            QTest::addRow("%s, limit %d", writer, limit) << writer << limit;
}

// Every writer: a write the file system cuts short is reported with its
// reason, and what stood there stays byte for byte, with no file left over.
void TestRecovery::shortWriteKeepsTheOldFile() {
    QFETCH(QString, writer);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString project = dir.filePath("lab.vtl");
    // A test whose name outgrows the limit.
    const QByteArray image = projectImage(1) + QByteArray(limit, 'n');
    writeFile(project, image);
    writeFile(dir.filePath("out.csv"), "old;csv\r\n");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SETROVIA_SIMULATOR", "tests=1");
    env.insert("XDG_DATA_HOME", dir.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {ShortWriteFlag, writer, QString::number(limit), dir.path()});
    QVERIFY(child.waitForFinished(120000));
    const QString said = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(said));
    QVERIFY2(said.contains("File too large"), qPrintable(said));
    QCOMPARE(bytesOf(project), image);
    QCOMPARE(bytesOf(dir.filePath("out.csv")), QByteArray("old;csv\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"lab.vtl", "out.csv"}));
    if (writer == "recovery") { // the one written before is whole
        const QStringList left = QDir(dir.filePath("recovery")).entryList({"*.recovery*"});
        QCOMPARE(left.size(), 2); // with its lock
        KeeperProc store;
        QVERIFY(RecoveryFile::read(dir.filePath("recovery/" + left.first()), store).ok());
    }
}

int main(int argc, char **argv) {
    if (argc >= 3 && qstrcmp(argv[1], ChildFlag) == 0)
        return crashChild(argc, argv);
    if (argc >= 5 && qstrcmp(argv[1], ShortWriteFlag) == 0) {
        QApplication app(argc, argv);
        TestSettings settings;
        return shortWriteChild(argv);
    }
    QApplication app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
