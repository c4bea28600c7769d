#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "modalanswer.h"
#include "peakmemory.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QTextEdit>
#include <QtTest>
#include <sys/stat.h>

// Project files that are no project files, added through the window: each
// gets a clear message, and nothing held before is lost.

using namespace testrecords;

namespace {

// A sparse file of 1 GB that starts with the given bytes.
bool sparseGigabyte(const QString &path, const QByteArray &start) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(start) == start.size() &&
           f.resize(qint64(1) << 30);
}

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
    void add(const QString &path) {
        answers << path;
        w.addProjectAction()->trigger();
    }
};

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void badProjectFilesChangeNothing_data();
    void badProjectFilesChangeNothing();

private:
    QTemporaryDir dir_;
};

void TestBadInput::badProjectFilesChangeNothing_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    const QString cannotOpen = QStringLiteral("Can not open file");
    const QString wrongFormat = QStringLiteral("Wrong file format. Format must be \"format 04\"");

    const QString folder = dir_.filePath("folder.vtl");
    QVERIFY(QDir().mkpath(folder));
    QTest::newRow("a directory") << folder << cannotOpen;
    const QString empty = dir_.filePath("empty.vtl");
    QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
    QTest::newRow("empty") << empty << wrongFormat;
    const QString zeros = dir_.filePath("zeros.vtl");
    QVERIFY(sparseGigabyte(zeros, QByteArray()));
    QTest::newRow("1 GB of zeros") << zeros << wrongFormat;
    const QString huge = dir_.filePath("huge.vtl");
    QVERIFY(sparseGigabyte(huge, QByteArray("format 04\x01", 10)));
    QTest::newRow("1 GB behind the format string")
        << huge
        << QStringLiteral("File %1 is too large to be a project file (at most 268435456 bytes).")
               .arg(huge);
    // Root reads any file whatever its mode; this one fails on the first read.
    QTest::newRow("unreadable") << QStringLiteral("/proc/self/mem") << cannotOpen;
    const QString fifo = dir_.filePath("pipe.vtl");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QTest::newRow("a pipe, which would never end") << fifo << cannotOpen;
    const QString dangling = dir_.filePath("dangling.vtl");
    QVERIFY(QFile::link(dir_.filePath("gone.vtl"), dangling));
    QTest::newRow("a link to nothing") << dangling << cannotOpen;
}

// Added to an open, edited project: the message, and the project as it was.
void TestBadInput::badProjectFilesChangeNothing() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    Window w;
    const QString good = dir_.filePath("good.vtl");
    {
        KeeperProc store;
        HeaderFields s;
        store.add(new ProcessP(header(s), samples(1), 1));
        s.second = 9;
        store.add(new ProcessP(header(s), samples(2), 2));
        QVERIFY(ProjectFile::save(good, store, "Проект", {"A", "B"}).ok());
    }
    w.open(good);
    w.w.projectDescription()->insertPlainText("!");
    const QString title = w.w.windowTitle();
    const ProcessP *first = w.w.store().at(0);

    const qint64 before = peakKb();
    QString text, boxTitle;
    answerNextMessageBox(QMessageBox::Ok, &text, &boxTitle);
    w.add(path);
    QCOMPARE(text, message);
    QCOMPARE(boxTitle, QStringLiteral("Setrovia+"));
    QVERIFY2(peakKb() - before < 64 * 1024, qPrintable(QString::number(peakKb() - before)));

    QCOMPARE(w.w.store().count(), 2);
    QCOMPARE(w.w.store().at(0), first);
    QCOMPARE(w.w.projectDescription()->toPlainText(), QStringLiteral("!Проект"));
    QCOMPARE(w.w.windowTitle(), title);
    QCOMPARE(w.w.projectFilePath(), good);
    QVERIFY(w.w.saveAction()->isEnabled());
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
