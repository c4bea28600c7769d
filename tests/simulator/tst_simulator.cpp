#include "readerrig.h"
#include "records/projectfile.h"
#include "simulator/transportfactory.h"
#include "testrecords.h"

#include <QtTest>

class TestSimulator : public QObject {
    Q_OBJECT
private slots:
    void headersAndOptions();
    void projectTestsAreServedByTheirOwnInstrument();
};

void TestSimulator::headersAndOptions() {
    // The older layout and back: the reader's conversion must give the header again.
    testrecords::HeaderFields s;
    s.hitPercent = 0; // the older layout has none
    s.volumeScale = 0.25f;
    s.volumeOffset = -7;
    const QByteArray header = testrecords::header(s).replace(60, 4, "\xD4\xC3\xB2\xA1");
    const QByteArray old = SimulatedInstrument::oldHeader(header);
    QCOMPARE(old.left(32), header.left(32));
    // The scales as doubles from 32 on (0.25 first), the offset -7 at 64, the last word at 68.
    QCOMPARE(old.mid(32, 8) + old.mid(64),
             QByteArray("\0\0\0\0\0\0\xD0\x3F\xF9\xFF\xFF\xFF\xD4\xC3\xB2\xA1", 16));
    QCOMPARE(ProcessP::convertOldHeader(old), header);

    // Values out of range are ignored; each generated test is its own.
    const SimulatorOptions o = SimulatorOptions::parse("tests=1001;tests=1000;fail-write=2@65536");
    QCOMPARE(o.errors, QStringList({"ignored \"tests=1001\"", "ignored \"fail-write=2@65536\""}));
    QCOMPARE(o.tests, 1000);
    QVERIFY(TestGenerator::test(2, 0, 1).samples != TestGenerator::test(2, 1, 1).samples);
    // A project that cannot be read serves nothing.
    QString error;
    QVERIFY(projectTests("/nonexistent/missing.vtl", &error).isEmpty());
    QVERIFY(error.contains("Can not open file"));
}

// project=PATH: the instrument serves the file's tests of its own kind byte
// for byte; the others are left out with a line saying why, never
// reinterpreted as another kind.
void TestSimulator::projectTestsAreServedByTheirOwnInstrument() {
    QTemporaryDir dir;
    const QString path = dir.filePath("lab.vtl");
    KeeperProc source;
    for (quint8 k : {1, 2, 0, 3}) {
        const InstrumentTest t = TestGenerator::test(k, k, 5);
        QVERIFY(source.add(new ProcessP(t.header, t.samples, t.kind)));
    }
    QVERIFY(ProjectFile::save(path, source, "description", {}).ok());
    const QString leftOut("lab.vtl left out: it was recorded by an .* \\(kind \\d\\), and this "
                          "simulated instrument is an .* \\(kind %1\\)\\.");
    // Keys besides project=PATH that make the instrument of each test's kind in turn; the
    // first test's needs none.
    const char *const keys[] = {"", "generation=newer", "generation=older",
                                "generation=older;version=2"};
    for (int i = 0; i < 4; ++i) {
        QString note;
        KeeperProc store;
        ViewerUsb viewer(createSimulator(keys[i] + (";project=" + path), &note));
        viewer.setKeeper(&store);
        viewer.checkPresentDev();
        viewer.readDevices();
        const ProcessP *own = source.at(i);
        QCOMPARE(store.count(), 1);
        QCOMPARE(store.at(0)->kind(), own->kind());
        QCOMPARE(store.at(0)->header() + store.at(0)->samples(), own->header() + own->samples());
        QCOMPARE(note.count(QRegularExpression(leftOut.arg(own->kind()))), 3);
    }
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
