#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "modalanswer.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QTextEdit>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace testrecords;

namespace {
ProcessP *record(quint8 second) {
    HeaderFields s;
    s.second = second;
    return new ProcessP(header(s), samples(1), 1);
}

void makeProject(const QString &path, const QList<int> &seconds) {
    KeeperProc store;
    for (int s : seconds)
        store.add(record(quint8(s)));
    QVERIFY(ProjectFile::save(path, store, QString(), {}).ok());
}

QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A window whose file dialogs answer from a list.
struct Window {
    TestSettings settings;
    QStringList answers;
    MainWindow w;
    Window() {
        w.setTitle("Setrovia+");
        w.setFileChooser([this](const MainWindow::FileRequest &) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    void open(const QString &path) {
        answers << path;
        w.openAction()->trigger();
    }
    void addNew(quint8 second) {
        w.store().add(record(second));
        emit w.viewer().addedNewProc(w.store().at(w.store().count() - 1));
    }
};
} // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT
private slots:
    void failedSaveKeepsTheOldFileAndTheWork();
    void promptAnswersOnClose();
    void titleSaysModified();
    void openThatEndsEarlyChangesNothing_data();
    void openThatEndsEarlyChangesNothing();

private:
    QTemporaryDir dir_;
};

void TestProjectCommands::failedSaveKeepsTheOldFileAndTheWork() {
    Window w;
    QTemporaryDir own;
    const QString path = own.filePath("lab.vtl");
    makeProject(path, {1});
    const QByteArray old = bytesOf(path);
    w.open(path);
    for (quint8 s = 2; s < 6; ++s) // the new image outgrows the limit below
        w.addNew(s);
    const QString modified = w.w.windowTitle();

    // The file system refuses to grow the new file past 16 kB halfway.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16384;
    std::signal(SIGXFSZ, SIG_IGN);
    QString text, title;
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    w.w.saveAction()->trigger();
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(title, QStringLiteral("Error"));
    QCOMPARE(text, QStringLiteral("File too large"));
    QCOMPARE(bytesOf(path), old);
    QCOMPARE(QDir(own.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"lab.vtl"}));
    QVERIFY(w.w.saveAction()->isEnabled());
    QCOMPARE(w.w.windowTitle(), modified);

    w.w.saveAction()->trigger(); // room again: the same save now succeeds
    QVERIFY(!w.w.saveAction()->isEnabled());
    KeeperProc again;
    QVERIFY(ProjectFile::read(path, again).ok());
    QCOMPARE(again.count(), 5);
}

void TestProjectCommands::promptAnswersOnClose() {
    Window w;
    const QString path = dir_.filePath("prompt.vtl");
    makeProject(path, {1, 2});
    w.open(path);
    w.w.projectDescription()->insertPlainText("!");
    const QString modified = w.w.windowTitle();
    const QByteArray before = bytesOf(path);

    QString text, title;
    answerNextMessageBox(QMessageBox::Cancel, &text, &title);
    w.w.closeAction()->trigger();
    QCOMPARE(title, QStringLiteral("Save changes"));
    QCOMPARE(text,
             QStringLiteral("The project has been modified. Do you want to save your changes?"));
    QCOMPARE(w.w.processModel()->rowCount(), 2);
    QCOMPARE(w.w.windowTitle(), modified);

    answerNextMessageBox(QMessageBox::No); // closed without saving
    w.w.closeAction()->trigger();
    QCOMPARE(w.w.store().count(), 0);
    QCOMPARE(w.w.windowTitle(), QStringLiteral("Setrovia+"));
    QCOMPARE(bytesOf(path), before);

    // Yes, then the save dialog is cancelled: a refusal, the unsaved test stays.
    w.addNew(7);
    answerNextMessageBox(QMessageBox::Yes);
    w.w.closeAction()->setEnabled(true);
    w.w.closeAction()->trigger();
    QCOMPARE(w.w.processModel()->rowCount(), 1);
    QVERIFY(w.w.saveAction()->isEnabled());
}

// Modified is always in the title, whether the project has a file or not.
void TestProjectCommands::titleSaysModified() {
    Window w;
    QCOMPARE(w.w.windowTitle(), QString("Setrovia+"));
    w.addNew(3); // read from the instrument into an empty window
    QCOMPARE(w.w.windowTitle(), QString("*  Setrovia+"));
    w.w.projectDescription()->insertPlainText("!");
    QCOMPARE(w.w.windowTitle(), QString("*  Setrovia+"));
    const QString path = dir_.filePath("titled.vtl");
    w.answers << path;
    w.w.saveAction()->trigger();
    QCOMPARE(w.w.windowTitle(), QString("titled.vtl   Setrovia+  (%1)").arg(path));
    w.addNew(4);
    QCOMPARE(w.w.windowTitle(), QString("titled.vtl*  Setrovia+  (%1)").arg(path));
}

void TestProjectCommands::openThatEndsEarlyChangesNothing_data() {
    QTest::addColumn<int>("prompt");     // the answer to the save prompt
    QTest::addColumn<QString>("chosen"); // what the dialog answers; null: not asked
    QTest::addColumn<QString>("message");
    QTest::newRow("prompt cancelled") << int(QMessageBox::Cancel) << QString() << QString();
    QTest::newRow("not saved, dialog cancelled") << int(QMessageBox::No) << "" << QString();
    QTest::newRow("not saved, damaged file")
        << int(QMessageBox::No) << "damaged.vtl" << QString("File %1 corrupt");
    QTest::newRow("not saved, a folder") << int(QMessageBox::No) << "."
                                         << "Can not open file";
}

// The save prompt, the dialog, then the whole new file: a command that stops
// on the way leaves the open project as it was, modified and all.
void TestProjectCommands::openThatEndsEarlyChangesNothing() {
    QFETCH(int, prompt);
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    Window w;
    QTemporaryDir own;
    const QString path = own.filePath("lab.vtl");
    makeProject(path, {1, 2});
    const QString damaged = own.filePath("damaged.vtl");
    QFile bad(damaged);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(bytesOf(path).left(200));
    bad.close();
    w.open(path);
    w.w.projectDescription()->insertPlainText("typed");
    const QString title = w.w.windowTitle();
    QVERIFY(title.contains('*'));

    bool asked = false;
    w.w.setFileChooser([&](const MainWindow::FileRequest &) {
        asked = true;
        return chosen.isEmpty() ? chosen : own.filePath(chosen);
    });
    QStringList shown;
    QList<QMessageBox::StandardButton> answers{QMessageBox::StandardButton(prompt)};
    if (!message.isNull())
        answers << QMessageBox::Ok;
    answerMessageBoxes(answers, &shown);
    w.w.openAction()->trigger();
    QCOMPARE(asked, !chosen.isNull());
    QCOMPARE(shown.size(), answers.size());
    if (!message.isNull())
        QCOMPARE(shown.last(), message.contains("%1") ? message.arg(damaged) : message);
    QCOMPARE(w.w.store().count(), 2);
    QCOMPARE(w.w.processModel()->rowCount(), 2);
    QCOMPARE(w.w.projectDescription()->toPlainText(), QString("typed"));
    QCOMPARE(w.w.projectFilePath(), path);
    QCOMPARE(w.w.windowTitle(), title);
    QVERIFY(w.w.saveAction()->isEnabled());
}

QTEST_MAIN(TestProjectCommands)
#include "tst_projectcommands.moc"
