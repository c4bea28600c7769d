#include "app/mainwindow.h"
#include "testsettings.h"

#include <QAction>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void messageLogIsCapped();
    void settingsRoundTrip();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
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
    QTest::newRow("last folder of another type") << QByteArray("[General]\nlastWorkDir=a, b\n");
    QTest::newRow("last folder empty") << QByteArray("[General]\nlastWorkDir=\n");
    QTest::newRow("last folder relative") << QByteArray("[General]\nlastWorkDir=lab/x.vtl\n");
    QTest::newRow("last folder with a control character")
        << QByteArray("[General]\nlastWorkDir=/lab\\x1b/x.vtl\n");
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
        QCOMPARE(w.lastWorkPath(), QDir::homePath());
    }
    if (content.isEmpty())
        return;
    QSettings s;
    QCOMPARE(s.value("size").toSize(), QSize(1300, 800));
    QCOMPARE(s.value("language").toInt(), 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
