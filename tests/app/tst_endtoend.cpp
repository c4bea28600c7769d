#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "records/processp.h"
#include "simulator/testgenerator.h"
#include "table/monitor.h"
#include "testsettings.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStandardItemModel>
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
    QStandardItem *value(int row) const { return w->monitor()->tableModel()->item(row, 1); }

    // A mouse click on the row's date, as the operator makes it.
    void click(int row) {
        ProcList *list = w->processList();
        const QRect rect = list->visualRect(w->processModel()->index(row, 0));
        QVERIFY(rect.isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(w->currentTest(), row);
    }

    // Types the mass into the table's own editor and commits it.
    void typeMass(const QString &digits) {
        Monitor *m = w->monitor();
        const QModelIndex index = m->tableModel()->index(TableTexts::RowMass, 1);
        m->edit(index);
        auto *spin = qobject_cast<QSpinBox *>(m->indexWidget(index));
        QVERIFY(spin);
        spin->selectAll();
        QTest::keyClicks(spin, digits);
        QAbstractItemDelegate *delegate = m->itemDelegateForRow(TableTexts::RowMass);
        emit delegate->commitData(spin);
        emit delegate->closeEditor(spin);
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
            out << p->header() + p->samples() + w->processModel()->item(i, 2)->text().toUtf8() +
                       '|' + value(TableTexts::RowMass)->text().toUtf8();
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

    // 432 g instead: the record and the table follow.
    s.typeMass("432");
    QCOMPARE(record->mass(), 432u);

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
    const QStringList logged{
        "Read frame #100",
        "Can't read replay for command 8. usb_strerror() = short transfer, 40 of 64 bytes",
        "Can't send command 8. usb_strerror() = error writing to bulk endpoint 2: No such device",
        "The instrument has disappeared: no further commands are sent, and the tests not read "
        "stay on it.",
        "Read finished: 2 new tests, 0 already in the project, 3 not read."};
    s.read();

    // The read ended: no test half-read, the complete ones whole.
    QCOMPARE(s.w->store().count(), kept.size());
    for (int i = 0; i < kept.size(); ++i)
        QCOMPARE(s.w->store().at(i)->samples(), generatedSamples(2, kept[i]));
    const QString log = s.log();
    for (const QString &line : logged)
        QVERIFY2(log.contains(line), qPrintable(line + "\n--- log:\n" + log));
    QVERIFY(log.endsWith(logged.last()));
    // Where the user looks: the status bar and the log itself.
    QCOMPARE(s.w->readOutcome(), QString("Read ended early: 2 of 5 tests read — see Messages"));
    QVERIFY(s.w->docks()[1]->isVisible());

    s.saveCloseReopen(dir_.filePath("faults.vtl"));
}

// Without the udev rule the read fails at once: the user sees why. Without
// the instrument the greyed button says why.
void TestEndToEnd::noPermissionNoInstrument() {
    Session s("tests=3;access=denied");
    QVERIFY(!s.w->docks()[1]->isVisible()); // the log is hidden by default
    s.read();
    QCOMPARE(s.w->store().count(), 0);
    QCOMPARE(s.w->readOutcome(),
             QString("Read failed: no permission to use the instrument — see Messages"));
    QVERIFY(s.w->docks()[1]->isVisible());
    QVERIFY(s.log().contains("No permission to use the instrument"));
    // The line stays until the next read starts.
    QCOMPARE(s.w->readAction()->toolTip(), QString("Read the tests stored on the instrument."));
    s.w->readAction()->trigger();
    QCOMPARE(s.w->readOutcome(), QString());
    QCOMPARE(s.w->readAction()->statusTip(), QString("The instrument is being read."));
    QTRY_VERIFY_WITH_TIMEOUT(!s.w->isReading(), 60000);

    Session none("plugged=no");
    QVERIFY(!none.w->readAction()->isEnabled());
    const QString why = "No instrument found. Connect it with USB; if it is connected, see Help "
                        "▸ Troubleshooting.";
    QCOMPARE(none.w->readAction()->toolTip(), why);
    QCOMPARE(none.w->readAction()->statusTip(), why);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
