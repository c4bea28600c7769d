#include "app/mainwindow.h"
#include "app/recentprojects.h"
#include "modalanswer.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testprojects.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QAction>
#include <QMenu>
#include <QTextEdit>
#include <QtTest>

using namespace testrecords;
using namespace testprojects;

namespace {

// The entries as the menu shows them: text and tip.
QStringList entries(RecentProjects *recent) {
    QStringList shown;
    for (QAction *a : recent->menu()->actions())
        if (!a->isSeparator())
            shown << a->text() + (a->toolTip() == a->text() ? QString() : " | " + a->toolTip());
    return shown;
}

QAction *entry(RecentProjects *recent, const QString &text) {
    for (QAction *a : recent->menu()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

// Two projects opened in turn: `older`, then `newer`, which stays open.
struct TwoOpened {
    TwoOpened(const QString &olderName, const QString &newerName)
        : older(dir.filePath(olderName)), newer(dir.filePath(newerName)) {
        makeProject(older, 1, "project 1", 1);
        makeProject(newer, 1, "project 2", 2);
        w.setTitle("Setrovia+");
        QVERIFY(w.openProjectFile(older));
        QVERIFY(w.openProjectFile(newer));
    }
    TestSettings settings;
    QTemporaryDir dir;
    QString older, newer;
    MainWindow w;
};

} // namespace

class TestRecentProjects : public QObject {
    Q_OBJECT
private slots:
    void newestFirstAtMostEight();
    void storedValue_data();
    void storedValue();
    void openAndSaveEnterTheList();
    void choosingAnEntryOpensIt();
    void goneEntryLeavesTheList();
};

void TestRecentProjects::newestFirstAtMostEight() {
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
    QCOMPARE(entries(&recent).mid(1, 2),
             QStringList({"p5.vtl | /lab/p5.vtl", "p9.vtl | /lab/p9.vtl"}));
    QCOMPARE(recent.menu()->actions().last()->text(), QString("Clear list"));

    recent.menu()->actions().last()->trigger();
    QCOMPARE(RecentProjects::paths(), QStringList());
    QCOMPARE(entries(&recent), QStringList({"Clear list"}));
    QVERIFY(!recent.menu()->isEnabled());
}

void TestRecentProjects::storedValue_data() {
    QTest::addColumn<QByteArray>("line"); // in the settings file
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("one as a text")
        << QByteArray("recentProjects=/a/b.vtl") << QStringList({"/a/b.vtl"});
    QTest::newRow("list") << QByteArray("recentProjects=/a/1.vtl, /a/2.vtl")
                          << QStringList({"/a/1.vtl", "/a/2.vtl"});
    QTest::newRow("number") << QByteArray("recentProjects=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x11)")
                            << QStringList();
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
void TestRecentProjects::storedValue() {
    QFETCH(QByteArray, line);
    QFETCH(QStringList, paths);
    TestSettings settings;
    QDir().mkpath(QFileInfo(settings.file()).path());
    QFile f(settings.file());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[General]\n" + line + "\n");
    f.close();
    QCOMPARE(RecentProjects::paths(), paths);
}

void TestRecentProjects::openAndSaveEnterTheList() {
    TestSettings settings;
    QTemporaryDir dir;
    const QString first = dir.filePath("first.vtl"), second = dir.filePath("second.vtl");
    makeProject(first, 1, "project 1", 1);
    MainWindow w;
    QVERIFY(w.openProjectFile(first));
    w.setFileChooser([&](const MainWindow::FileRequest &) { return second; });
    w.saveAsAction()->trigger();
    QCOMPARE(RecentProjects::paths(), QStringList({second, first}));
    // Add project is no opening of it.
    makeProject(dir.filePath("added.vtl"), 1, "project 3", 3);
    w.setFileChooser([&](const MainWindow::FileRequest &) { return dir.filePath("added.vtl"); });
    w.addProjectAction()->trigger();
    QCOMPARE(RecentProjects::paths(), QStringList({second, first}));
    // Another instance's list shows when the File menu opens.
    RecentProjects other(new QMenu(&w), nullptr, &w);
    other.add(dir.filePath("elsewhere.vtl"));
    auto *fileMenu = qobject_cast<QMenu *>(w.recentProjects()->menu()->parentWidget());
    QVERIFY(fileMenu);
    emit fileMenu->aboutToShow();
    QCOMPARE(entries(w.recentProjects()).first(),
             "elsewhere.vtl | " + dir.filePath("elsewhere.vtl"));
}

// As Open project after its dialog: the save prompt first.
void TestRecentProjects::choosingAnEntryOpensIt() {
    TwoOpened t("second.vtl", "first.vtl");
    t.w.projectDescription()->insertPlainText("typed ");

    QString asked;
    answerNextMessageBox(QMessageBox::Cancel, &asked);
    entry(t.w.recentProjects(), "second.vtl")->trigger();
    QCOMPARE(asked, QString("The project has been modified. Do you want to save your changes?"));
    QCOMPARE(t.w.projectFilePath(), t.newer);

    answerNextMessageBox(QMessageBox::No);
    entry(t.w.recentProjects(), "second.vtl")->trigger();
    QCOMPARE(t.w.projectFilePath(), t.older);
    QCOMPARE(t.w.projectDescription()->toPlainText(), QString("project 1"));
    QCOMPARE(RecentProjects::paths(), QStringList({t.older, t.newer}));
}

void TestRecentProjects::goneEntryLeavesTheList() {
    TwoOpened t("gone.vtl", "kept.vtl");
    QVERIFY(QFile::remove(t.older));

    QString text;
    answerNextMessageBox(QMessageBox::Ok, &text);
    entry(t.w.recentProjects(), "gone.vtl")->trigger();
    QCOMPARE(text, "The project " + t.older +
                       " no longer exists. It has been removed from the list of recent projects.");
    QCOMPARE(RecentProjects::paths(), QStringList({t.newer}));
    QCOMPARE(t.w.projectFilePath(), t.newer);
    QCOMPARE(t.w.store().count(), 1);

    // There again but damaged: said as Open project says it; it stays listed.
    writeFile(t.older, "format 04\x05");
    t.w.recentProjects()->add(t.older);
    answerNextMessageBox(QMessageBox::Ok, &text);
    entry(t.w.recentProjects(), "gone.vtl")->trigger();
    QCOMPARE(text, "File " + t.older + " corrupt");
    QCOMPARE(RecentProjects::paths(), QStringList({t.older, t.newer}));
    QCOMPARE(t.w.projectFilePath(), t.newer);
    QCOMPARE(t.w.lastWorkPath(), t.older);
}

QTEST_MAIN(TestRecentProjects)
#include "tst_recentprojects.moc"
