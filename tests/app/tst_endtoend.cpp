#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "modalanswer.h"
#include "records/processp.h"
#include "simulator/testgenerator.h"
#include "testsettings.h"

#include <QAction>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

namespace {

// The window on a simulated instrument; its file dialogs answer in turn.
struct Session {
    explicit Session(const QByteArray &simulator) {
        qputenv("SETROVIA_SIMULATOR", simulator);
        w.reset(new MainWindow);
        qunsetenv("SETROVIA_SIMULATOR");
        w->setFileChooser([this](const MainWindow::FileRequest &) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        w->show();
    }
    QString log() const { return w->messageLog()->toPlainText(); }
    void read() {
        QTRY_VERIFY_WITH_TIMEOUT(w->readAction()->isEnabled(), 60000); // found it
        w->readAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!w->isReading(), 60000);
    }
    // The store holds these generated tests of the newer instrument, whole.
    bool holds(const QList<int> &generated) {
        bool same = w->store().count() == generated.size();
        for (int i = 0; same && i < generated.size(); ++i) {
            const auto test = TestGenerator::test(2, generated[i], 1);
            same = w->store().at(i)->header() + w->store().at(i)->samples() ==
                   test.header + test.samples;
        }
        return same;
    }
    TestSettings settings;
    QScopedPointer<MainWindow> w;
    QStringList answers;
};

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void readWithFaultsEditSaveReopen();
    void noPermissionNoInstrument();

private:
    QTemporaryDir dir_;
};

void TestEndToEnd::readWithFaultsEditSaveReopen() {
    // A lost packet, a cut header, then unplugged.
    Session s("generation=newer;tests=5;latency-us=100;fail-packet=1:100;short-reply=8@2:40;"
              "unplug-after=3");
    s.read();
    // The read ended: no test half-read, the complete ones whole.
    QVERIFY(s.holds({0, 3}));
    QVERIFY(s.log().endsWith("Read finished: 2 new tests, 0 already in the project, 3 not read."));
    // Where the user looks: the status bar and the log itself.
    QCOMPARE(s.w->readOutcome(), QString("Read ended early: 2 of 5 tests read — see Messages"));
    QVERIFY(s.w->docks()[1]->isVisible());

    // A mouse click on the row's date, as the operator makes it.
    const QRect rect = s.w->processList()->visualRect(s.w->processModel()->index(1, 0));
    QTest::mouseClick(s.w->processList()->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(s.w->currentTest(), 1);
    s.w->processModel()->item(1, 2)->setText("Партия 3");
    s.w->processDescription()->setPlainText("замес 2");
    s.w->projectDescription()->setPlainText("Проверка прибора");
    // Save as, close, open again: the same tests and descriptions come back.
    const QString path = dir_.filePath("session.vtl");
    s.answers << path << path;
    s.w->saveAction()->trigger();
    s.w->closeAction()->trigger();
    s.w->openAction()->trigger();
    QVERIFY(s.holds({0, 3}));
    QCOMPARE(s.w->processModel()->item(1, 2)->text(), QStringLiteral("Партия 3"));
    QCOMPARE(s.w->projectDescription()->toPlainText(), QStringLiteral("Проверка прибора"));
    QMetaObject::invokeMethod(s.w.data(), "addGraph",
                              Q_ARG(QModelIndex, s.w->processModel()->index(1, 0)));
    QCOMPARE(s.w->processDescription()->toPlainText(), QStringLiteral("замес 2"));
}

// Without the udev rule or without the instrument, the user sees why.
void TestEndToEnd::noPermissionNoInstrument() {
    Session s("tests=3;access=denied");
    s.read();
    QCOMPARE(s.w->store().count(), 0);
    QCOMPARE(s.w->readOutcome(),
             QString("Read failed: no permission to use the instrument — see Messages"));
    QVERIFY(s.w->docks()[1]->isVisible());
    QVERIFY(s.log().contains("No permission to use the instrument"));
    s.w->readAction()->trigger(); // the line stays until the next read starts
    QCOMPARE(s.w->readOutcome(), QString());
    QString refusal;
    answerNextMessageBox(QMessageBox::Ok, &refusal);
    s.w->addProjectAction()->trigger(); // no project is added into a read
    QVERIFY2(refusal.startsWith("The instrument is being read. Wait until"), qPrintable(refusal));
    QTRY_VERIFY_WITH_TIMEOUT(!s.w->isReading(), 60000);

    Session none("plugged=no");
    QVERIFY(!none.w->readAction()->isEnabled());
    QCOMPARE(none.w->readAction()->toolTip(),
             "No instrument found. Connect it with USB; if it is connected, see the page "
             "“Troubleshooting” of the manual (F1).");
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
