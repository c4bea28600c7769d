#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "evaluation/monitor.h"
#include "modalanswer.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QDockWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
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
    void startState();
    void menusToolbarAndDocks();
    void messageLogIsCapped();
    void settingsDefaults();
    void settingsRoundTrip();
    void garbageSettingsFallBackToDefaults();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
    void defaultViewQuestion();
    void modifiedTitle();
    void readDeviceStateFollowsPresenceAndReads();
    void rowsFromTheReaderEnableSave();
    void staleRecordPointerIsIgnored();
    void parameterSlotsEditTheCurrentRecord();
    void destroyWhileReaderBusy();
    void resourcesAreCompiledIn();
    void projectGivenOnTheCommandLineOpens();
};

void TestMainWindow::startState() {
    TestSettings settings;
    MainWindow w;
    w.setTitle(QStringLiteral("Setrovia+"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Setrovia+"));
    QCOMPARE(w.title(), QStringLiteral("Setrovia+"));
    QVERIFY(!w.readAction()->isEnabled());
    QVERIFY(!w.saveAction()->isEnabled());
    QVERIFY(!w.saveAsAction()->isEnabled());
    QVERIFY(!w.closeAction()->isEnabled());
    QVERIFY(!w.exportAction()->isEnabled());
    QVERIFY(w.openAction()->isEnabled());
    QVERIFY(w.printAction()->isEnabled());
    QVERIFY(w.addProjectAction()->isEnabled());
    QVERIFY(w.englishAction()->isChecked());
    QVERIFY(!w.russianAction()->isChecked());
    QCOMPARE(w.currentTest(), -1);
    QCOMPARE(w.pollTimer().interval(), 500);
    QVERIFY(w.pollTimer().isActive());
    QVERIFY(w.viewer().isRunning());
    QCOMPARE(w.processModel()->columnCount(), 3);
    QCOMPARE(w.processModel()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Name"));
}

void TestMainWindow::menusToolbarAndDocks() {
    TestSettings settings;
    MainWindow w;
    QStringList menus;
    for (QAction *a : w.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, QStringList({"&File", "&Device", "View", "&Help"}));
    const QList<QToolBar *> bars = w.findChildren<QToolBar *>();
    QCOMPARE(bars.size(), 1);
    QStringList tools;
    for (QAction *a : bars.first()->actions())
        tools << (a->isSeparator() ? QStringLiteral("|") : a->text());
    QCOMPARE(tools, QStringList({"Save project", "Open project", "Print", "Export to txt", "|",
                                 "Read device"}));
    QVERIFY(!bars.first()->isMovable());
    QStringList names;
    for (QDockWidget *d : w.docks())
        names << d->objectName();
    QCOMPARE(names, QStringList({"processes", "messager", "monitor", "processDescription",
                                 "projectDescription"}));
    // Built-in layout: Messages closed, the others shown.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.docks()[0]->isVisible());
    QVERIFY(w.docks()[2]->isVisible());
    QVERIFY(!w.docks()[1]->isVisible());
    QCOMPARE(w.dockWidgetArea(w.docks()[0]), Qt::LeftDockWidgetArea);
    QCOMPARE(w.dockWidgetArea(w.docks()[2]), Qt::LeftDockWidgetArea);
    QCOMPARE(w.dockWidgetArea(w.docks()[4]), Qt::BottomDockWidgetArea);
    QScopedPointer<QMenu> popup(w.createPopupMenu());
    QCOMPARE(popup->actions().size(), 5);
    QCOMPARE(popup->actions().first()->text(), QStringLiteral("Processes"));
}

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

void TestMainWindow::settingsDefaults() {
    TestSettings settings;
    MainWindow w;
    QCOMPARE(w.size(), QSize(1300, 800));
    QCOMPARE(w.pos(), QPoint(0, 0));
    QCOMPARE(w.lastWorkPath(), QDir::homePath());
    QVERIFY(w.englishAction()->isChecked());
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

void TestMainWindow::garbageSettingsFallBackToDefaults() {
    TestSettings settings;
    {
        QSettings s;
        s.setValue("size", "not a size");
        s.setValue("pos", 17);
        s.setValue("state", QByteArray("garbage state"));
        s.setValue("language", "xx");
    }
    MainWindow w;
    QCOMPARE(w.size(), QSize(1300, 800));
    QCOMPARE(w.pos(), QPoint(0, 0));
    QVERIFY(w.englishAction()->isChecked());
    QVERIFY(w.docks()[1]->isHidden()); // the built-in layout
}

void TestMainWindow::damagedSettingsFile_data() {
    QTest::addColumn<QByteArray>("content");
    QByteArray noise(4096, '\0');
    quint32 x = 12345;
    for (char &c : noise) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    QTest::newRow("binary noise") << noise;
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
    } else {
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

void TestMainWindow::defaultViewQuestion() {
    TestSettings settings;
    MainWindow w;
    w.setTitle("Setrovia+");
    w.show();
    w.docks()[1]->show();
    const QByteArray changed = w.saveState(0);
    QString text, title;
    answerNextMessageBox(QMessageBox::No, &text, &title);
    QMetaObject::invokeMethod(&w, "defaultView");
    QCOMPARE(text, QStringLiteral("Do you want to change view to defauls state?"));
    QCOMPARE(title, QStringLiteral("Setrovia+"));
    QCOMPARE(w.saveState(0), changed);
    answerNextMessageBox(QMessageBox::Ok);
    QMetaObject::invokeMethod(&w, "defaultView");
    QVERIFY(w.docks()[1]->isHidden());
}

void TestMainWindow::modifiedTitle() {
    TestSettings settings;
    {
        QSettings s;
        s.setValue("lastWorkDir", "/tmp/a/b.vtl");
    }
    MainWindow w;
    w.setTitle("Setrovia+");
    QMetaObject::invokeMethod(&w, "changedProc");
    QCOMPARE(w.windowTitle(), QStringLiteral(".*  Setrovia+  (/tmp/a/b.vtl)"));
    QVERIFY(w.saveAction()->isEnabled());
    QVERIFY(w.saveAsAction()->isEnabled());
}

void TestMainWindow::readDeviceStateFollowsPresenceAndReads() {
    TestSettings settings;
    MainWindow w;
    QMetaObject::invokeMethod(&w, "activateUsbButton", Q_ARG(bool, true));
    QVERIFY(w.readAction()->isEnabled());
    QMetaObject::invokeMethod(&w, "activateUsbButton", Q_ARG(bool, false));
    QVERIFY(!w.readAction()->isEnabled());
    QMetaObject::invokeMethod(&w, "activateUsbButton", Q_ARG(bool, true));
    w.readAction()->trigger();
    QVERIFY(w.isReading());
    QVERIFY(!w.readAction()->isEnabled());
    // Presence reports are ignored while reading...
    QMetaObject::invokeMethod(&w, "activateUsbButton", Q_ARG(bool, true));
    QVERIFY(!w.readAction()->isEnabled());
    // ...and the end of the read enables Read device and Close project.
    QTRY_VERIFY(!w.isReading());
    QVERIFY(w.readAction()->isEnabled());
    QVERIFY(w.closeAction()->isEnabled());
}

void TestMainWindow::rowsFromTheReaderEnableSave() {
    TestSettings settings;
    MainWindow w;
    ProcessP *first = record(1);
    QVERIFY(w.store().add(first));
    QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, first));
    QCOMPARE(w.processModel()->rowCount(), 1);
    QVERIFY(!w.saveAction()->isEnabled()); // rows of a project do not
    QVERIFY(w.processModel()->item(0, 2)->text().isEmpty());
    QCOMPARE(w.processModel()->item(0, 1)->text(), QStringLiteral("10:30:01"));
    QCOMPARE(w.processModel()->item(0, 0)->text(), QDate(2026, 6, 15).toString(Qt::TextDate));

    ProcessP *second = record(2);
    QVERIFY(w.store().add(second));
    emit w.viewer().addedNewProc(second);
    QCOMPARE(w.processModel()->rowCount(), 2);
    QVERIFY(w.saveAction()->isEnabled());
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

void TestMainWindow::parameterSlotsEditTheCurrentRecord() {
    TestSettings settings;
    MainWindow w;
    w.setTitle("Setrovia+");
    // No current test: nothing happens.
    QMetaObject::invokeMethod(&w, "changedMassa", Q_ARG(int, 100));
    QVERIFY(!w.saveAction()->isEnabled());

    ProcessP *p = record(1);
    w.store().add(p);
    QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, p));
    QMetaObject::invokeMethod(&w, "addGraph", Q_ARG(QModelIndex, w.processModel()->index(0, 0)));
    QCOMPARE(w.currentTest(), 0);
    QVERIFY(w.exportAction()->isEnabled());
    QVERIFY(!w.saveAction()->isEnabled()); // showing a test changes nothing

    QMetaObject::invokeMethod(&w, "changedMassa", Q_ARG(int, 512));
    QCOMPARE(p->mass(), 512u);
    QVERIFY(w.saveAction()->isEnabled());
    QMetaObject::invokeMethod(&w, "changedCement", Q_ARG(int, 6));
    QCOMPARE(p->grade(), 6u);
    QMetaObject::invokeMethod(&w, "changedSupplier", Q_ARG(int, 3));
    QCOMPARE(p->supplier(), 3u);
    QMetaObject::invokeMethod(&w, "changedDays", Q_ARG(int, 4));
    QCOMPARE(int(p->hardeningIndex()), 4);
    QMetaObject::invokeMethod(&w, "changedCoeffVoulme", Q_ARG(double, 0.95));
    QCOMPARE(int(p->hitPercent()), 95);
    const quint8 flags = p->flags();
    QMetaObject::invokeMethod(&w, "changedTormoz");
    QCOMPARE(int(p->flags()), flags ^ 1);
    QMetaObject::invokeMethod(&w, "changedTemp");
    QCOMPARE(int(p->flags()), flags ^ 3);
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

void TestMainWindow::resourcesAreCompiledIn() {
    TestSettings settings;
    MainWindow w; // the window pulls the resources of its library in
    for (const char *name :
         {"read.ico", "save.ico", "open.ico", "about.ico", "russia-flag.ico",
          "united-kingdom-flag.ico", "print.ico", "txt_9523.ico", "logoAbout.png"}) {
        const QString path = QStringLiteral(":/image/") + QLatin1String(name);
        QVERIFY2(!QImage(path).isNull(), qPrintable(path));
    }
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
