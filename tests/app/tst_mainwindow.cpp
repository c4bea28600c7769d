#include "app/langugebox.h"
#include "app/mainwindow.h"
#include "app/projectdrop.h"
#include "app/russiancatalogues.h"
#include "linuxonly.h"
#include "modalanswer.h"
#include "testprojects.h"
#include "testsettings.h"

#include <QAction>
#include <QDockWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void helpFileFoundWhateverTheWorkingFolder();
    void aboutBoxAndMessageLog();
    void settings_data();
    void settings();
    void languageAtStart();
    void readProgressFitsItsBar();
    void dropOfAProjectFile();
};

void TestMainWindow::helpFileFoundWhateverTheWorkingFolder() {
    QTemporaryDir program, elsewhere;
    for (const char *file : {"VantelHelp.chm", "manual/index.html", "manual-ru/index.html"})
        QVERIFY(QDir(program.path()).mkpath(QFileInfo(file).path()) &&
                QFile(program.filePath(file)).open(QIODevice::WriteOnly));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QCOMPARE(MainWindow::helpFilePath({elsewhere.path() + "/missing", program.path()}),
             program.filePath("VantelHelp.chm"));
    // A folder standing where the file should be is not the help file.
    QVERIFY(QDir(elsewhere.path()).mkdir("VantelHelp.chm"));
    QCOMPARE(MainWindow::helpFilePath({elsewhere.path()}), QString());
    QDir::setCurrent(before);

    // No viewer for the help file: the HTML manual, in Russian for the Russian interface.
    QStringList opened;
    const auto noViewer = [&](const QUrl &url) {
        opened << url.toLocalFile();
        return !url.toLocalFile().endsWith(".chm");
    };
    QCOMPARE(MainWindow::openManual({program.path()}, true, noViewer),
             program.filePath("manual-ru/index.html"));
    QCOMPARE(MainWindow::openManual({program.path()}, false, noViewer),
             program.filePath("manual/index.html"));
    QCOMPARE(opened.filter(".chm").size(), 2); // the help file was tried first each time
}

// The about box; the message log keeps the last 1000 lines, each cut at a NUL.
void TestMainWindow::aboutBoxAndMessageLog() {
    TestSettings settings;
    MainWindow w;
    QString title, text;
    answerNextMessageBox(QMessageBox::Ok, &text, &title);
    QMetaObject::invokeMethod(&w, "about");
    QCOMPARE(title + text, "About program Setrovia+<h3>Setrovia+ version 1.0.3<h3>");
    for (int i = 0; i < 1005; ++i)
        QMetaObject::invokeMethod(&w, "message", Q_ARG(QString, QString::number(i)));
    QCOMPARE(w.messageLog()->document()->blockCount(), 1000);
    QVERIFY(w.messageLog()->toPlainText().startsWith(QStringLiteral("5\n")));
    QMetaObject::invokeMethod(&w, "message",
                              Q_ARG(QString, QStringLiteral("cut") + QChar(0) + "hidden"));
    QVERIFY(w.messageLog()->toPlainText().endsWith(QStringLiteral("\ncut")));
}

void TestMainWindow::settings_data() {
    QTest::addColumn<QByteArray>("content"); // "-": no file; empty: a folder in its place
    QTest::addColumn<QString>("stored");     // language and last work path read from it
    QTest::newRow("missing") << QByteArray("-") << "en " + QDir::homePath();
    QTest::newRow("stored") << QByteArray("[General]\nlanguage=0\nlastWorkDir=/data/lab/p.vtl\n")
                            << "ru /data/lab/p.vtl";
    // Language 7 starts without translators: the menu must say English.
    QTest::newRow("wrong values")
        << QByteArray("\xff\xfe no key here\n[General\n[General]\nsize=@Size(-5 99999999)\n"
                      "pos=@Point(-900000 900000)\nstate=@ByteArray(\\xde\\xad)\nlanguage=7\n"
                      "lastWorkDir=@Variant(\\0\\0\\0\\x7f)\n[[[\n=\n")
        << "en " + QDir::homePath();
    QTest::newRow("a folder in its place") << QByteArray() << "en " + QDir::homePath();
}

// The window opens with its defaults where the file is missing or damaged, and
// what it writes at exit (size, place, the Messages dock, language) reads back.
void TestMainWindow::settings() {
    QFETCH(QByteArray, content);
    QFETCH(QString, stored);
    if (content != "-")
        LINUX_ONLY("the settings live in the registry there, not in a file");
    TestSettings settings;
    QVERIFY(QDir().mkpath(content.isEmpty() ? settings.file() : QFileInfo(settings.file()).path()));
    if (content != "-" && !content.isEmpty())
        testprojects::writeFile(settings.file(), content);
    const auto state = [](MainWindow &w) {
        return QString::asprintf("%dx%d %d,%d %s %s%s ", w.width(), w.height(), w.x(), w.y(),
                                 w.docks()[1]->isHidden() ? "-" : "messages",
                                 w.russianAction()->isChecked() ? "ru" : "",
                                 w.englishAction()->isChecked() ? "en" : "") +
               w.lastWorkPath();
    };
    {
        MainWindow w;
        QCOMPARE(state(w), "1300x800 0,0 - " + stored);
        w.resize(900, 700);
        w.move(40, 30);
        w.docks()[1]->show(); // Messages opened by the user
    }
    MainWindow again;
    QCOMPARE(state(again),
             (content.isEmpty() ? "1300x800 0,0 - " : "900x700 40,30 messages ") + stored);
    QCOMPARE(QSettings().value("language", -1).toInt(),
             content.isEmpty() ? -1 : int(stored.startsWith("en")));
}

// The first start asks; dismissed, nothing is written; a stored language asks nothing.
void TestMainWindow::languageAtStart() {
    for (bool dismissed : {true, false}) {
        TestSettings settings;
        QTimer::singleShot(0, [dismissed] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            auto *box = qobject_cast<LangugeBox *>(QApplication::activeModalWidget());
            QVERIFY(box && !box->okButton()->isEnabled());
            if (dismissed)
                return QTest::keyClick(box, Qt::Key_Escape);
            box->englishButton()->click();
            QCOMPARE(box->chosenLanguage(), 1);
            box->russianButton()->click();
            QVERIFY(box->okButton()->isEnabled());
            box->okButton()->click();
        });
        QSettings s;
        QCOMPARE(LangugeBox::languageForStart(s), dismissed ? 100 : 0);
        QCOMPARE(QSettings().value("language", 100).toInt(), dismissed ? 100 : 0);
        QVERIFY(!dismissed || !QFile::exists(settings.file()));
        s.setValue("language", 5); // any value other than 0 and 100 means no translators
        QCOMPARE(LangugeBox::languageForStart(s), 5);
    }
}

// The progress text of the longest read fits, in both languages.
void TestMainWindow::readProgressFitsItsBar() {
    for (bool russian : {false, true}) {
        std::unique_ptr<RussianCatalogues> ru(russian ? new RussianCatalogues : nullptr);
        TestSettings settings;
        MainWindow w;
        w.show();
        QMetaObject::invokeMethod(&w, "readDevice");
        QMetaObject::invokeMethod(&w, "readProgress", Q_ARG(int, 200), Q_ARG(int, 255),
                                  Q_ARG(int, 280), Q_ARG(int, 313));
        const QProgressBar *bar = w.readProgressBar();
        QVERIFY2(bar->minimumWidth() > bar->fontMetrics().horizontalAdvance(bar->text()),
                 qPrintable(bar->text()));
    }
}

// One project file, whatever the case of its extension; Ctrl adds it.
void TestMainWindow::dropOfAProjectFile() {
    QMimeData data;
    // An absolute path on either system ("/lab" gets a drive on Windows).
    const QString file = QDir::tempPath() + "/lab/P.VTL";
    data.setUrls({QUrl::fromLocalFile(file)});
    QString path;
    QCOMPARE(ProjectDrop::request(&data, Qt::ControlModifier, &path), ProjectDrop::Add);
    QCOMPARE(path, file);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
