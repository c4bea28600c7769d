#include "readerrig.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "transportfactory.h"

#include <QtEndian>
#include <QtTest>

// The simulated instrument's conversion of headers back to the older layout,
// and a project file served as the instrument would serve it.
class TestSimulator : public QObject {
    Q_OBJECT
private slots:
    void olderHeaderIsMadeBack();
    void projectTestsAreServedAsStored();
};

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
    const QByteArray converted = ProcessP::convertOldHeader(old);
    QCOMPARE(SimulatedInstrument::oldHeader(converted), old);
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
