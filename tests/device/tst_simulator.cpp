#include "readerrig.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "transportfactory.h"

#include <QtEndian>
#include <QtTest>

// The simulated instrument's own parts: its options, its old-style headers
// and the realism of the generated tests.
class TestSimulator : public QObject {
    Q_OBJECT
private slots:
    void optionsAndTheirMistakes();
    void olderHeaderIsMadeBack();
    void generatedTestsLookReal_data();
    void generatedTestsLookReal();
    void projectTestsAreServedAsStored();
};

void TestSimulator::optionsAndTheirMistakes() {
    const SimulatorOptions o = SimulatorOptions::parse(
        " generation=older; version=0x10002;tests=7;seed=9;latency-us=250;ident=ABC=1;"
        "short-reply=4@2:40;fail-packet=3:17;generation=sideways;tests=1001;fail-write=;"
        "volume=2;access=read-only;plugged=perhaps;plugged=no");
    QCOMPARE(o.setup.generation, SimulatedInstrument::Generation::Older);
    QCOMPARE(o.setup.version, 0x10002u);
    QCOMPARE(o.setup.ident, QByteArray("ABC=1"));
    QCOMPARE(o.tests, 7);
    QCOMPARE(o.seed, 9u);
    QCOMPARE(o.latencyUs, 250);
    QCOMPARE(o.setup.access, SimulatedInstrument::Access::ReadOnly);
    QVERIFY(!o.plugged);
    QCOMPARE(o.setup.faults.size(), 2);
    QCOMPARE(o.setup.faults.at(0).command, 4u);
    QCOMPARE(o.setup.faults.at(0).which, 2);
    QCOMPARE(o.setup.faults.at(0).length, 40);
    QCOMPARE(o.setup.faults.at(1).test, 3);
    QCOMPARE(o.setup.faults.at(1).packet, 17);
    QCOMPARE(o.errors, QStringList({"ignored \"generation=sideways\"", "ignored \"tests=1001\"",
                                    "ignored \"fail-write=\"", "ignored \"volume=2\"",
                                    "ignored \"plugged=perhaps\""}));

    QString note;
    const auto bus = createSimulator("generation=older;version=2;tests=4;nonsense", &note);
    QCOMPARE(note, QStringLiteral("Simulated instrument (SETROVIA_SIMULATOR): older generation, "
                                  "kind 3, 4 tests (generated, seed 1); ignored \"nonsense\""));
    QCOMPARE(bus->readKind(0), quint8(3));
    const auto absent = createSimulator("tests=2;plugged=no", &note);
    QVERIFY(note.endsWith("2 tests (generated, seed 1), unplugged"));
    absent->findDevices();
    QVERIFY(absent->devices().isEmpty());
    createSimulator("project=/nowhere/p.vtl", &note);
    QVERIFY(note.contains("0 tests (/nowhere/p.vtl); cannot load"));
}

void TestSimulator::olderHeaderIsMadeBack() {
    testrecords::HeaderFields s;
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
    // A header as the older instrument's conversion makes it comes back unchanged.
    const QByteArray converted = ProcessP::convertOldHeader(old);
    QCOMPARE(SimulatedInstrument::oldHeader(converted), old);
    QCOMPARE(ProcessP::convertOldHeader(SimulatedInstrument::oldHeader(converted)), converted);
}

void TestSimulator::generatedTestsLookReal_data() {
    QTest::addColumn<int>("kind");
    for (int kind = 0; kind < 4; ++kind)
        QTest::addRow("kind %d", kind) << kind;
}

void TestSimulator::generatedTestsLookReal() {
    QFETCH(int, kind);
    QCOMPARE(TestGenerator::test(quint8(kind), 4, 77).samples,
             TestGenerator::test(quint8(kind), 4, 77).samples);
    for (const InstrumentTest &t : TestGenerator::tests(quint8(kind), 10, 5)) {
        const ProcessP p(t.header, t.samples, t.kind);
        QVERIFY(p.pointCount() > 0 && p.pointCount() <= quint32(ProcessP::channelLength(p.kind())));
        QVERIFY(p.startDateTime().isValid());
        // The paste rests for 10 to 40 minutes, then needs a few to pass 0.05 ml.
        const double rest = double(p.startIndex()) * p.period();
        QVERIFY2(rest >= 600 && rest <= 3600, qPrintable(QString::number(rest)));
        // Three-hour contraction of 2.5 to 6.5 ml per kilogram of cement.
        const double perKg = p.contraction3h() * p.volumeScale() * 1000.0 / p.mass();
        QVERIFY2(perKg > 2.5 && perKg < 6.5, qPrintable(QString::number(perKg)));
        const double ambient = p.temperatureCount(10) * p.temperatureScale();
        QVERIFY(ambient > 18.5 && ambient < 21.5);
        if (kind == 2 || kind == 3) {
            const double cement =
                p.cementTemperatureCount(int(p.pointCount()) / 2) * p.cementTemperatureScale();
            QVERIFY(cement > 18.5 && cement < 27);
            QVERIFY(p.resistanceCount(int(p.pointCount()) - 1) > p.resistanceCount(0));
        }
    }
}

// project=PATH: the instrument holds the file's tests in file order; the
// newer instrument serves each stored header as it is and the sample bytes
// cut or padded to its kind's block.
void TestSimulator::projectTestsAreServedAsStored() {
    QTemporaryDir dir;
    const QString path = dir.filePath("lab.vtl");
    KeeperProc source;
    const QVector<InstrumentTest> made = TestGenerator::tests(1, 2, 5);
    for (const InstrumentTest &t : made)
        QVERIFY(source.add(new ProcessP(t.header, t.samples, t.kind)));
    QVERIFY(ProjectFile::save(path, source, "description", {"a", "b"}).ok());

    QString error;
    const QVector<InstrumentTest> served = projectTests(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(served.size(), 2);
    SimulatedInstrument::Setup setup = SimulatorOptions::parse("generation=newer").setup;
    setup.tests = served;
    ReaderRig rig(setup);
    rig.read();
    QCOMPARE(rig.store.count(), 2);
    for (int i = 0; i < 2; ++i) {
        const ProcessP *read = rig.store.at(i);
        QCOMPARE(read->header(), source.at(i)->header());
        QCOMPARE(int(read->kind()), 2); // the default model string makes kind 2
        QCOMPARE(read->samples().left(10000), source.at(i)->samples().left(10000));
        QCOMPARE(read->samples().mid(10000), QByteArray(10000, '\0'));
    }
    QVERIFY(projectTests(dir.filePath("missing.vtl"), &error).isEmpty());
    QVERIFY(error.contains("Can not open file"));
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
