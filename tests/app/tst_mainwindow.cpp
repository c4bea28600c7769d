#include "app/langugebox.h"
#include "app/mainwindow.h"
#include "app/projectdrop.h"
#include "app/russiancatalogues.h"
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
    void aboutBox();
    void helpFileFoundWhateverTheWorkingFolder();
    void messageLogIsCapped();
    void settingsRoundTrip();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
    void languageAtStart();
    void readProgressFitsItsBar();
    void dropOfAProjectFile();
};

void TestMainWindow::aboutBox() {
    TestSettings settings;
    MainWindow::initResources();
    MainWindow w;
    QStringList shown;
    bool hasLogo = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        shown << box->windowTitle() << box->text() << box->informativeText();
        hasLogo = !box->iconPixmap().isNull();
        box->accept();
    });
    QMetaObject::invokeMethod(&w, "about");
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.mid(0, 2),
             QStringList({"About program Setrovia+", "<h3>Setrovia+ version 1.0.3<h3>"}));
    QVERIFY2(shown[2].startsWith("<p>Build  293</p>"), qPrintable(shown[2]));
    QVERIFY(shown[2].contains(QStringLiteral("Ostrevan")));
    QVERIFY(hasLogo);
}

void TestMainWindow::helpFileFoundWhateverTheWorkingFolder() {
    QTemporaryDir program, elsewhere;
    QFile chm(program.filePath("VantelHelp.chm"));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QCOMPARE(MainWindow::helpFilePath({elsewhere.path() + "/missing", program.path()}),
             QFileInfo(chm).absoluteFilePath());
    // A folder standing where the file should be is not the help file.
    QVERIFY(QDir(elsewhere.path()).mkdir("VantelHelp.chm"));
    QCOMPARE(MainWindow::helpFilePath({elsewhere.path()}), QString());
    QDir::setCurrent(before);

    // No viewer for the help file: the HTML manual, in Russian for the Russian interface.
    for (const char *page : {"manual/index.html", "manual-ru/index.html"}) {
        QVERIFY(QDir(program.path()).mkpath(QFileInfo(page).path()));
        QFile html(program.filePath(page));
        QVERIFY(html.open(QIODevice::WriteOnly));
    }
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
    QCOMPARE(QSettings().value("state").toByteArray(), state);
    MainWindow again;
    QCOMPARE(again.size(), QSize(900, 700));
    QCOMPARE(again.pos(), QPoint(40, 30));
    QCOMPARE(again.lastWorkPath(), QStringLiteral("/data/lab/project.vtl"));
    QVERIFY(again.russianAction()->isChecked());
    QVERIFY(!again.docks()[1]->isHidden());
}

void TestMainWindow::damagedSettingsFile_data() {
    QTest::addColumn<QByteArray>("content"); // "-": no file; empty: a folder in its place
    QTest::newRow("missing") << QByteArray("-");
    // Language 7 starts without translators: the menu must say English.
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
        QCOMPARE(w.lastWorkPath(), QDir::homePath());
    }
    if (content.isEmpty())
        return;
    QSettings s;
    QCOMPARE(s.value("size").toSize(), QSize(1300, 800));
    QCOMPARE(s.value("language").toInt(), 1);
}

// The first start asks; dismissed, nothing is written; a stored language asks nothing.
void TestMainWindow::languageAtStart() {
    {
        TestSettings settings;
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        QSettings s;
        QCOMPARE(LangugeBox::languageForStart(s), 100);
        QVERIFY(!s.contains("language"));
        QVERIFY(!QFile::exists(settings.file()));
    }
    TestSettings settings;
    QTimer::singleShot(0, [] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        auto *box = qobject_cast<LangugeBox *>(QApplication::activeModalWidget());
        QVERIFY(box && !box->okButton()->isEnabled());
        box->englishButton()->click();
        QCOMPARE(box->chosenLanguage(), 1);
        box->russianButton()->click();
        QVERIFY(box->okButton()->isEnabled());
        box->okButton()->click();
    });
    QSettings s;
    QCOMPARE(LangugeBox::languageForStart(s), 0);
    QCOMPARE(QSettings().value("language").toInt(), 0);
    s.setValue("language", 5); // any value other than 0 and 100 means no translators
    QCOMPARE(LangugeBox::languageForStart(s), 5);
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
