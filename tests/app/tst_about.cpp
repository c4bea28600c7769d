#include "app/mainwindow.h"
#include "testsettings.h"

#include <QMessageBox>
#include <QTranslator>
#include <QtTest>

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void aboutBoxInEnglish();
    void aboutBoxInRussian();
    void helpFileFoundWhateverTheWorkingFolder();
};

void TestAbout::aboutBoxInEnglish() {
    TestSettings settings;
    MainWindow w;
    QString title, text, informative;
    bool hasLogo = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        title = box->windowTitle();
        text = box->text();
        informative = box->informativeText();
        hasLogo = !box->iconPixmap().isNull();
        box->accept();
    });
    QMetaObject::invokeMethod(&w, "about");
    QCOMPARE(title, QStringLiteral("About program Setrovia+"));
    QCOMPARE(text, QStringLiteral("<h3>Setrovia+ version 1.0.3<h3>"));
    QVERIFY(informative.startsWith(QStringLiteral("<p>Build  293</p>")));
    QVERIFY(informative.contains(QStringLiteral("Ostrevan")));
    QVERIFY(hasLogo);
}

void TestAbout::aboutBoxInRussian() {
    TestSettings settings;
    MainWindow::initResources();
    QTranslator russian;
    QVERIFY(russian.load(QStringLiteral(":/translater/morwen_ru.qm")));
    qApp->installTranslator(&russian);
    MainWindow w;
    QString title, text, informative;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        title = box->windowTitle();
        text = box->text();
        informative = box->informativeText();
        box->accept();
    });
    QMetaObject::invokeMethod(&w, "about");
    qApp->removeTranslator(&russian);
    QCOMPARE(title, QStringLiteral("О программе Сетровия+"));
    QCOMPARE(text, QStringLiteral("<h3>Сетровия+ версия 1.0.3<h3>"));
    QVERIFY(informative.startsWith(QStringLiteral("<p>Сборка  293</p>")));
}

void TestAbout::helpFileFoundWhateverTheWorkingFolder() {
    QTemporaryDir program;
    QTemporaryDir elsewhere;
    QFile chm(program.filePath("VantelHelp.chm"));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.write("ITSF");
    chm.close();
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QCOMPARE(MainWindow::helpFilePath({elsewhere.path() + "/missing", program.path()}),
             QFileInfo(chm).absoluteFilePath());
    QCOMPARE(MainWindow::helpFilePath({elsewhere.path()}), QString());
    // A folder standing where the file should be is not the help file.
    QVERIFY(QDir(elsewhere.path()).mkdir("VantelHelp.chm"));
    QCOMPARE(MainWindow::helpFilePath({elsewhere.path()}), QString());
    QDir::setCurrent(before);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
