#include "readerrig.h"
#include "records/projectfile.h"
#include "simulator/simulatoroptions.h"
#include "simulator/transportfactory.h"
#include "testrecords.h"

#include <QtEndian>
#include <QtTest>

class TestSimulator : public QObject {
    Q_OBJECT
private slots:
    void olderHeaderIsMadeBack();
    void valuesOutOfRangeAreIgnored();
    void projectTestsAreServedByTheirOwnInstrument_data();
    void projectTestsAreServedByTheirOwnInstrument();
};

// The older layout and back: the reader's conversion must give the header again.
void TestSimulator::olderHeaderIsMadeBack() {
    testrecords::HeaderFields s;
    s.hitPercent = 0; // the older layout has none
    s.volumeScale = 0.25f;
    s.volumeOffset = -7;
    char raw[ProcessP::HeaderSize];
    std::memcpy(raw, testrecords::header(s).constData(), sizeof raw);
    testrecords::putU32(raw, 60, 0xA1B2C3D4);
    const QByteArray header(raw, sizeof raw);
    const QByteArray old = SimulatedInstrument::oldHeader(header);
    QCOMPARE(old.size(), 72);
    QCOMPARE(old.left(32), header.left(32));
    QCOMPARE(qFromLittleEndian<double>(old.constData() + 32), 0.25);
    QCOMPARE(qFromLittleEndian<qint32>(old.constData() + 64), -7);
    QCOMPARE(qFromLittleEndian<quint32>(old.constData() + 68), 0xA1B2C3D4u);
    QCOMPARE(ProcessP::convertOldHeader(old), header);
}

void TestSimulator::valuesOutOfRangeAreIgnored() {
    const SimulatorOptions o = SimulatorOptions::parse("tests=1001;tests=1000;fail-write=2@65536");
    QCOMPARE(o.errors, QStringList({"ignored \"tests=1001\"", "ignored \"fail-write=2@65536\""}));
    QCOMPARE(o.tests, 1000);
    // Each generated test its own, the same for the same seed.
    QVERIFY(TestGenerator::test(2, 0, 1).samples != TestGenerator::test(2, 1, 1).samples);
}

void TestSimulator::projectTestsAreServedByTheirOwnInstrument_data() {
    QTest::addColumn<QString>("instrument"); // keys besides project=PATH
    QTest::addColumn<int>("kind");           // of the file's tests: 1, 2, 0, 3
    QTest::newRow("chosen by the first test") << "" << 1;
    QTest::newRow("newer, four channels") << "generation=newer" << 2;
    QTest::newRow("older, two channels") << "generation=older" << 0;
    QTest::newRow("older, four channels") << "generation=older;version=2" << 3;
}

// project=PATH: the instrument serves the file's tests of its own kind byte
// for byte; the others are left out with a line saying why, never
// reinterpreted as another kind.
void TestSimulator::projectTestsAreServedByTheirOwnInstrument() {
    QFETCH(QString, instrument);
    QFETCH(int, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("lab.vtl");
    KeeperProc source;
    for (quint8 k : {1, 2, 0, 3}) {
        const InstrumentTest t = TestGenerator::test(k, k, 5);
        QVERIFY(source.add(new ProcessP(t.header, t.samples, t.kind)));
    }
    QVERIFY(ProjectFile::save(path, source, "description", {}).ok());

    QString note;
    KeeperProc store;
    ViewerUsb viewer(createSimulator(instrument + ";project=" + path, &note));
    viewer.setKeeper(&store);
    viewer.checkPresentDev();
    viewer.readDevices();
    QCOMPARE(store.count(), 1);
    const ProcessP *own = source.at(kind == 1 ? 0 : kind == 2 ? 1 : kind == 0 ? 2 : 3);
    QCOMPARE(int(store.at(0)->kind()), kind);
    QCOMPARE(store.at(0)->header(), own->header());
    QCOMPARE(store.at(0)->samples(), own->samples());
    QCOMPARE((note + "\n")
                 .count(QRegularExpression(QString("lab.vtl left out: it was recorded by an .* "
                                                   "\\(kind \\d\\), and this simulated "
                                                   "instrument is an .* \\(kind %1\\).\n")
                                               .arg(kind))),
             3);

    QString error;
    QVERIFY(projectTests(dir.filePath("missing.vtl"), &error).isEmpty());
    QVERIFY(error.contains("Can not open file"));
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
