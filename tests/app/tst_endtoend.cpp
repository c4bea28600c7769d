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
    ~Session() { qunsetenv("SETROVIA_SIMULATOR"); }

    QString log() const { return w->messageLog()->toPlainText(); }

    // A mouse click on the row's date, as the operator makes it.
    void click(int row) {
        ProcList *list = w->processList();
        const QRect rect = list->visualRect(w->processModel()->index(row, 0));
        QVERIFY(rect.isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(w->currentTest(), row);
    }

    void read() {
        QTRY_VERIFY_WITH_TIMEOUT(w->readAction()->isEnabled(), 60000); // found it
        w->readAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!w->isReading(), 60000);
    }

    // What each row carries through a save and an open.
    QList<QByteArray> rows() {
        QList<QByteArray> out;
        for (int i = 0; i < w->store().count(); ++i) {
            click(i);
            const ProcessP *p = w->store().at(i);
            out << p->header() + p->samples() + w->processModel()->item(i, 2)->text().toUtf8();
        }
        return out;
    }

    // Save as, close, open again: the same rows and descriptions come back.
    void saveCloseReopen(const QString &path) {
        const QList<QByteArray> before = rows();
        const QString description = w->projectDescription()->toPlainText();
        answers << path;
        w->saveAction()->trigger();
        QVERIFY(QFileInfo(path).isFile());
        QVERIFY(!w->saveAction()->isEnabled());

        w->closeAction()->trigger();
        QCOMPARE(w->store().count(), 0);

        answers << path;
        w->openAction()->trigger();
        QCOMPARE(w->projectFilePath(), path);
        QCOMPARE(w->projectDescription()->toPlainText(), description);
        QCOMPARE(rows(), before);
    }

    TestSettings settings;
    QScopedPointer<MainWindow> w;
    QStringList answers;
};

QByteArray generatedSamples(quint8 kind, int index) {
    return TestGenerator::test(kind, index, 1).samples;
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void readLookEditSaveReopen();
    void faultsMidRead();
    void noPermissionNoInstrument();

private:
    QTemporaryDir dir_;
};

void TestEndToEnd::readLookEditSaveReopen() {
    Session s("generation=newer;tests=4;latency-us=200");
    s.read();
    QVERIFY(s.log().endsWith("Read finished: 4 new tests, 0 already in the project, 0 not read."));

    s.click(2);
    const ProcessP *record = s.w->store().at(2);
    QCOMPARE(record->samples(), generatedSamples(2, 2));

    s.w->processModel()->item(2, 2)->setText("Партия 3");
    s.w->processDescription()->setPlainText("замес 2");
    s.w->projectDescription()->setPlainText("Проверка прибора");
    s.saveCloseReopen(dir_.filePath("session.vtl"));
    s.click(2);
    QCOMPARE(s.w->processDescription()->toPlainText(), QStringLiteral("замес 2"));
}

void TestEndToEnd::faultsMidRead() {
    // A lost packet, a cut header, then unplugged.
    Session s("generation=newer;tests=5;latency-us=100;fail-packet=1:100;short-reply=8@2:40;"
              "unplug-after=3");
    const QList<int> kept{0, 3};
    s.read();

    // The read ended: no test half-read, the complete ones whole.
    QCOMPARE(s.w->store().count(), kept.size());
    for (int i = 0; i < kept.size(); ++i)
        QCOMPARE(s.w->store().at(i)->samples(), generatedSamples(2, kept[i]));
    QVERIFY(s.log().endsWith("Read finished: 2 new tests, 0 already in the project, 3 not read."));
    // Where the user looks: the status bar and the log itself.
    QCOMPARE(s.w->readOutcome(), QString("Read ended early: 2 of 5 tests read — see Messages"));
    QVERIFY(s.w->docks()[1]->isVisible());
}

// Without the udev rule or without the instrument, the user sees why.
void TestEndToEnd::noPermissionNoInstrument() {
    Session s("tests=3;access=denied");
    QVERIFY(!s.w->docks()[1]->isVisible()); // the log is hidden by default
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
    QCOMPARE(refusal, "The instrument is being read. Wait until the reading has ended, then try "
                      "again.");
    QTRY_VERIFY_WITH_TIMEOUT(!s.w->isReading(), 60000);

    Session none("plugged=no");
    QVERIFY(!none.w->readAction()->isEnabled());
    const QString why = "No instrument found. Connect it with USB; if it is connected, see the "
                        "page “Troubleshooting” of the manual (F1).";
    QCOMPARE(none.w->readAction()->toolTip(), why);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
