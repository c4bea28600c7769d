#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "modalanswer.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

using namespace testrecords;

namespace {
ProcessP *record(quint8 second) {
    HeaderFields s;
    s.second = second;
    return new ProcessP(header(s), samples(1), 1);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void messageLogIsCapped();
    void settingsRoundTrip();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
    void staleRecordPointerIsIgnored();
    void destroyWhileReaderBusy();
    void projectGivenOnTheCommandLineOpens();
};

void TestMainWindow::messageLogIsCapped() {
    TestSettings settings;
    MainWindow w;
    for (int i = 0; i < 1005; ++i)
        QMetaObject::invokeMethod(&w, "message", Q_ARG(QString, QString::number(i)));
    QCOMPARE(w.messageLog()->document()->blockCount(), 1000);
    QVERIFY(w.messageLog()->toPlainText().startsWith(QStringLiteral("5\n")));
    QMetaObject::invokeMethod(&w, "message",
                              Q_ARG(QString, QStringLiteral("cut") + QChar(0) + "hidden"));
    QVERIFY(w.messageLog()->toPlainText().endsWith(QStringLiteral("\ncut")));
}

void TestMainWindow::settingsRoundTrip() {
    TestSettings settings;
    {
        QSettings s;
        s.setValue("lastWorkDir", "/data/lab/project.vtl");
        s.setValue("language", 0);
    }
    QByteArray state;
    {
        MainWindow w;
        QVERIFY(w.russianAction()->isChecked());
        w.resize(900, 700);
        w.move(40, 30);
        w.docks()[1]->show(); // Messages opened by the user
        state = w.saveState(0);
    }
    {
        QSettings s;
        QCOMPARE(s.value("size").toSize(), QSize(900, 700));
        QCOMPARE(s.value("pos").toPoint(), QPoint(40, 30));
        QCOMPARE(s.value("state").toByteArray(), state);
        QCOMPARE(s.value("lastWorkDir").toString(), QStringLiteral("/data/lab/project.vtl"));
        QCOMPARE(s.value("language").toInt(), 0);
    }
    MainWindow again;
    QCOMPARE(again.size(), QSize(900, 700));
    QCOMPARE(again.pos(), QPoint(40, 30));
    QCOMPARE(again.lastWorkPath(), QStringLiteral("/data/lab/project.vtl"));
    QVERIFY(again.russianAction()->isChecked());
    QVERIFY(!again.docks()[1]->isHidden());
}

void TestMainWindow::damagedSettingsFile_data() {
    QTest::addColumn<QByteArray>("content");
    QByteArray noise(4096, '\0');
    quint32 x = 12345;
    for (char &c : noise) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    QTest::newRow("missing") << QByteArray("-");
    QTest::newRow("binary noise") << noise;
    QTest::newRow("garbage values")
        << QByteArray("[General]\nsize=not a size\npos=17\nstate=garbage state\nlanguage=xx\n");
    // Values of the wrong type or out of any range, and lines that are no
    // settings at all. Language 7 means no translators at start: the menu
    // must say English, or the next start would be in Russian.
    QTest::newRow("wrong values") << QByteArray(
        "\xff\xfe no key here\n[General\n[General]\nsize=@Size(-5 99999999)\n"
        "pos=@Point(-900000 900000)\nstate=@ByteArray(\\xde\\xad)\nlanguage=7\n"
        "lastWorkDir=@Variant(\\0\\0\\0\\x7f)\n[[[\n=\n");
    QTest::newRow("a folder in its place") << QByteArray();
}

// The window opens with its defaults, and what it writes at exit reads back.
void TestMainWindow::damagedSettingsFile() {
    QFETCH(QByteArray, content);
    TestSettings settings;
    QVERIFY(QDir().mkpath(QFileInfo(settings.file()).path()));
    if (content.isEmpty()) {
        QVERIFY(QDir().mkpath(settings.file()));
    } else if (content != "-") {
        QFile f(settings.file());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    {
        MainWindow w;
        QCOMPARE(w.size(), QSize(1300, 800));
        QCOMPARE(w.pos(), QPoint(0, 0));
        QVERIFY(w.englishAction()->isChecked());
        QVERIFY(w.docks()[1]->isHidden());
    }
    if (content.isEmpty())
        return;
    QSettings s;
    QCOMPARE(s.value("size").toSize(), QSize(1300, 800));
    QCOMPARE(s.value("language").toInt(), 1);
}

void TestMainWindow::staleRecordPointerIsIgnored() {
    TestSettings settings;
    MainWindow w;
    ProcessP *p = record(1);
    QVERIFY(w.store().add(p));
    w.store().clear(); // e.g. the project was closed while the signal was queued
    emit w.viewer().addedNewProc(p);
    QCOMPARE(w.processModel()->rowCount(), 0);
}

void TestMainWindow::destroyWhileReaderBusy() {
    TestSettings settings;
    auto *w = new MainWindow;
    // Keep the reader thread busy with queued work, then destroy the window:
    // the destructor must wait for the thread and return.
    for (int i = 0; i < 50; ++i)
        QMetaObject::invokeMethod(&w->viewer(), "checkPresentDev", Qt::QueuedConnection);
    w->readAction()->setEnabled(true);
    w->readAction()->trigger();
    delete w;
    QVERIFY(QFile::exists(settings.file()));
}

void TestMainWindow::projectGivenOnTheCommandLineOpens() {
    TestSettings settings;
    QTemporaryDir dir;
    KeeperProc source;
    source.add(record(1));
    source.add(record(2));
    const QString path = dir.filePath("lab.vtl");
    QVERIFY(ProjectFile::save(path, source, "cement lot 7", {"first", "second"}).ok());

    MainWindow w;
    w.setTitle("Setrovia+");
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QVERIFY(w.openProjectFile("lab.vtl")); // relative to where the program started
    QDir::setCurrent(before);
    QCOMPARE(w.processModel()->rowCount(), 2);
    QCOMPARE(w.processModel()->item(1, 2)->text(), QStringLiteral("second"));
    QCOMPARE(w.projectDescription()->toPlainText(), QStringLiteral("cement lot 7"));
    QCOMPARE(w.projectFilePath(), QFileInfo(path).absoluteFilePath());
    QVERIFY(!w.saveAction()->isEnabled());
    QVERIFY(w.closeAction()->isEnabled());

    // A damaged file leaves an empty window and says why.
    QFile bad(dir.filePath("bad.vtl"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("format 04\x02");
    bad.close();
    QString text;
    answerNextMessageBox(QMessageBox::Ok, &text);
    QVERIFY(!w.openProjectFile(bad.fileName()));
    QCOMPARE(text, QStringLiteral("File %1 corrupt").arg(QFileInfo(bad).absoluteFilePath()));
    QCOMPARE(w.processModel()->rowCount(), 0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
