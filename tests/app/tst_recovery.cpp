#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "modalanswer.h"
#include "records/recoveryfile.h"
#include "records/recoverykeeper.h"
#include "testprojects.h"
#include "testsettings.h"

#include <QAction>
#include <QProcess>
#include <QTextEdit>
#include <QtTest>

using namespace testprojects;

namespace {

const char ChildFlag[] = "--crash-child";

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

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void crashThenRestore_data();
    void crashThenRestore();
    void writtenWhileModifiedOnly();
    void offeredFileAnswered_data();
    void offeredFileAnswered();
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

    w.projectDescription()->insertPlainText("y");
    QVERIFY(w.recoveryKeeper()->writeNow());
    answerNextMessageBox(QMessageBox::No); // closed without saving
    w.closeAction()->trigger();
    QCOMPARE(w.store().count(), 0);
    QVERIFY(!QFileInfo::exists(own));

    QVERIFY(w.openProjectFile(project));
    w.projectDescription()->insertPlainText("z");
    QVERIFY(w.recoveryKeeper()->writeNow());
    win.reset(); // a clean exit
    QCOMPARE(data.files(), QStringList());
}

void TestRecovery::offeredFileAnswered_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem"); // empty: a good file, discarded
    const QByteArray image = projectImage(0);
    const QDateTime written(QDate(2026, 12, 6), QTime(9, 15, 0));
    const QByteArray good = RecoveryFile::encode("/lab/old.vtl", written, image);
    QTest::newRow("discarded") << good << QString();
    QTest::newRow("another format")
        << image << "The file %1 is not a recovery file of this program.";
    QTest::newRow("cut short") << good.left(good.size() - 2)
                               << "The recovery file %1 is incomplete or damaged.";
}

// Discarded, it is deleted; damaged, it is reported and renamed whole, never opened.
void TestRecovery::offeredFileAnswered() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    DataHome data;
    QDir().mkpath(data.folder());
    const QString path = data.folder() + "/recovery-7-7-1.recovery";
    writeFile(path, bytes);

    Window win;
    QString text;
    answerNextMessageBox(problem.isEmpty() ? QMessageBox::Discard : QMessageBox::Ok, &text);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); // its date form
    win.w.offerRecovery();
    QLocale::setDefault(QLocale::c());
    QCOMPARE(win.w.store().count(), 0);
    QVERIFY(!win.w.saveAction()->isEnabled());
    const QStringList left = data.files();
    if (problem.isEmpty()) {
        QCOMPARE(text, QString("The program was not closed properly. A recovery file written on "
                               "06.12.2026 09:15 holds unsaved changes of the project "
                               "/lab/old.vtl."));
        QCOMPARE(left, QStringList());
        return;
    }
    QCOMPARE(left.size(), 1);
    QVERIFY(left.first().startsWith("recovery-7-7-1.recovery.damaged-"));
    const QString aside = data.folder() + "/" + left.first();
    QCOMPARE(text, problem.arg(path) + " It was not opened and has been renamed to " + aside + ".");
    QCOMPARE(bytesOf(aside), bytes);
    QVERIFY(win.w.recoveryKeeper()->folder().orphans().empty());
}

int main(int argc, char **argv) {
    if (argc >= 3 && qstrcmp(argv[1], ChildFlag) == 0)
        return crashChild(argc, argv);
    QApplication app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
