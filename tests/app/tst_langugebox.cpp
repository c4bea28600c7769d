#include "app/langugebox.h"
#include "testsettings.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestLangugeBox : public QObject {
    Q_OBJECT
private slots:
    void okNeedsAChoice();
    void dismissedFirstStartWritesNothing();
    void choiceIsStoredAtOnce();
    void storedLanguageAsksNothing();
};

void TestLangugeBox::okNeedsAChoice() {
    LangugeBox box;
    QVERIFY(!box.okButton()->isEnabled());
    QVERIFY(!box.russianButton()->isChecked());
    QVERIFY(!box.englishButton()->isChecked());
    QCOMPARE(box.russianButton()->text(), QStringLiteral("Русский"));
    QCOMPARE(box.width(), 200);
    box.englishButton()->click();
    QVERIFY(box.okButton()->isEnabled());
    QCOMPARE(box.chosenLanguage(), 1);
    box.russianButton()->click();
    QCOMPARE(box.chosenLanguage(), 0);
}

void TestLangugeBox::dismissedFirstStartWritesNothing() {
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

void TestLangugeBox::choiceIsStoredAtOnce() {
    TestSettings settings;
    QTimer::singleShot(0, [] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        auto *box = qobject_cast<LangugeBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        box->russianButton()->click();
        box->okButton()->click();
    });
    QSettings s;
    QCOMPARE(LangugeBox::languageForStart(s), 0);
    QSettings reread;
    QCOMPARE(reread.value("language").toInt(), 0);
}

void TestLangugeBox::storedLanguageAsksNothing() {
    TestSettings settings;
    QSettings s;
    s.setValue("language", 1);
    QCOMPARE(LangugeBox::languageForStart(s), 1);
    s.setValue("language", 5); // any value other than 0 and 100 means no translators
    QCOMPARE(LangugeBox::languageForStart(s), 5);
}

QTEST_MAIN(TestLangugeBox)
#include "tst_langugebox.moc"
