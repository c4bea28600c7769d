#include "readerrig.h"

#include <QtTest>

// The reader against simulated instruments: the wire, the log, the tests kept.

extern SimulatorTransport *fakeUsbBus; // fakelibusb.cpp: libusb 0.1 over a simulated bus

const QByteArray WriteTimeout = "error writing to bulk endpoint 2: Connection timed out";
const QByteArray ReadTimeout = "error reading from bulk endpoint 0x81: Connection timed out";
const QString Ident = QStringLiteral("SETROVIA-DEV-01.03");
const QString Try = QStringLiteral("Try read old process ");

static QString finished(int added, int held, int notRead) {
    return QString::asprintf("Read finished: %d new tests, %d already in the project, %d not read.",
                             added, held, notRead);
}

class TestViewerUsb : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void stopThenReadAgain();
    void presenceOverLibusb();
    void fullProjectStopsAndTheNextReadContinues();
};

void TestViewerUsb::reads_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("reads64");      // 64-byte reads: sample packets, newer headers
    QTest::addColumn<QStringList>("wire"); // after open, configuration and claim; complete reads
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QList<int>>("kept"); // the generated tests stored, in order
    const QString send = QStringLiteral("Can't send command %1. usb_strerror() = ");
    const QString reply = QStringLiteral("Can't read replay for command %1. usb_strerror() = ");
    const QString early = "Read ended before the instrument told how many tests it holds.";
    const QString all = finished(3, 0, 0), two = finished(2, 0, 1), one = finished(1, 0, 2),
                  none = finished(0, 0, 3);
    const QList<int> t0{0}, t02{0, 2}, t012{0, 1, 2};
    // Newer: the model string, the cell count, then per cell its header and samples.
    const QStringList newer{"w 02000000",     "r 19", "w 07000000", "r 8",
                            "w 080000000000", "r 64", "r 4",        "w 090000000000"};
    const QStringList older{"w 01000000", "r 20", "w 02000000", "r 20", "w 03000000",
                            "w 04000000", "r 72", "w 05000000", "r 64"};
    // An identification longer than the buffer is read only as far as it goes.
    const QStringList oversized{"w 01000000", "r 20", "w 02000000", "r 256"};
    const QStringList olderLog{Ident, Try, Try, Try, all};
    const QString old = "generation=older;"; // the older instrument, with more options
    // A read is complete where its wire is given.
    auto row = [](const char *name, const QString &options, int kind, int reads64,
                  const QStringList &log, QList<int> kept = {}, QStringList wire = {}) {
        QTest::newRow(name) << options << kind << reads64 << wire << log << kept;
    };
    row("newer, model string", "generation=newer", 2, 939, {all}, t012, newer);
    row("newer, model without its zero byte", "generation=newer;model=SETROVIA-DEV-02.10X", 1, 471,
        {all}, t012, newer);
    row("older, version 1.1", "generation=older", 0, 810, olderLog, t012, older);
    row("older, other version", old + "version=0x00010002", 3, 1620, olderLog, t012, older);
    row("older, identification of 300 bytes", old + "ident-length=300", 0, 810, olderLog, t012,
        oversized);
    row("older, identification of 4 GiB", old + "ident-length=4294967295", 0, 810, olderLog, t012,
        oversized);

    row("newer: command 2 write", "fail-write=2", 2, 0, {send.arg(2) + WriteTimeout, early});
    row("newer: identification reply", "fail-reply=2;model=X", 1, 471,
        {reply.arg(2) + ReadTimeout, all}, t012);
    row("newer: header reply", "fail-reply=8@1", 2, 627, {reply.arg(8) + ReadTimeout, two}, t02);
    row("newer: header cut short", "short-reply=8@1:40", 2, 627,
        {reply.arg(8) + "short transfer, 40 of 64 bytes", two}, t02);
    row("newer: sample command write", "fail-write=9@1", 2, 627,
        {"Can not read number of process", two}, t02);
    row("newer: packet 100 lost", "fail-packet=1:100", 2, 728,
        {"Read frame #100", "Erorr read lubusb: " + ReadTimeout, two}, t02);
    row("newer: half a packet", "short-packet=1:100", 2, 728,
        {"Read frame #100", "Erorr read lubusb: short transfer, 32 of 64 bytes", two}, t02);
    // Once the device is gone no further command goes to it.
    row("newer: unplugged after test 1", "unplug-after=1", 2, 626,
        {"The instrument has disappeared: no further commands are sent, and the tests not read "
         "stay on it.",
         send.arg(8) + "error writing to bulk endpoint 2: No such device", two},
        {0, 1});
    row("older: info reply", old + "fail-reply=1", 0, 0, {reply.arg(1) + ReadTimeout, early});
    row("older: ident reply", old + "fail-reply=2", 0, 0, {reply.arg(2) + ReadTimeout, none});
    row("older: start cmd", old + "fail-write=3", 0, 0, {Ident, send.arg(3) + WriteTimeout, none});
    row("older: header reply", old + "fail-reply=4@1", 0, 270,
        {Ident, Try, Try, reply.arg(4) + ReadTimeout, one}, t0);
    row("older: short header", old + "short-reply=4@1:40", 0, 270,
        {Ident, Try, Try, "Short header of a stored test: 40 of 72 bytes", one}, t0);
    // Opened, but every command refused: the user is told about the udev rule.
    row("read-only device", "access=read-only", 2, 0,
        {"No permission to use the instrument (could not claim interface 0: Operation not "
         "permitted). Install the udev rule 60-setrovia.rules (see the README, \"Instrument "
         "access\"), then unplug the instrument and plug it in again.",
         send.arg(2) + "error writing to bulk endpoint 2: Operation not permitted", early});
}

void TestViewerUsb::reads() {
    QFETCH(QString, options);
    QFETCH(int, kind);
    QFETCH(int, reads64);
    QFETCH(QStringList, wire);
    QFETCH(QStringList, log);
    QFETCH(QList<int>, kept);
    ReaderRig rig({instrument(options)});
    rig.read();
    QCOMPARE(rig.log, log);
    QCOMPARE(rig.viewer.lastRead() == ViewerUsb::ReadResult::Complete, !wire.isEmpty());
    QCOMPARE(held(rig.store), generated(quint8(kind), kept));
    QCOMPARE(rig.added.count(), kept.size());
    const QStringList trace = rig.bus->trace();
    QCOMPARE(trace.mid(3, wire.size()), wire);
    QCOMPARE(trace.count("r 64"), reads64);
    QCOMPARE(trace.last(), QStringLiteral("close"));
}

// A stop keeps the tests read in full; the next read skips the tests the
// project holds, also one that arrives while its samples are read.
void TestViewerUsb::stopThenReadAgain() {
    ReaderRig rig({instrument("generation=older;version=2")});
    auto stop = QObject::connect(&rig.viewer, &ViewerUsb::readProgress,
                                 [&](int test, int, int packet, int) {
                                     if (test == 2 && packet == 8)
                                         rig.viewer.requestStop();
                                 });
    rig.read();
    QCOMPARE(held(rig.store), generated(3, {0}));
    QCOMPARE(rig.log.mid(3),
             QStringList({"Read frame #8", "Erorr read lubusb: read stopped", finished(1, 0, 2)}));
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Failed);
    QObject::disconnect(stop); // the next read is not stopped
    // It skips test 0, held now; test 1 arrives in the project while its samples are read.
    const InstrumentTest test1 = TestGenerator::test(3, 1, 1);
    rig.bus->setTransferHook([&] {
        if (rig.bus->count("w 05") == 3 && rig.store.count() == 1)
            rig.store.add(new ProcessP(test1.header, test1.samples, 3));
    });
    rig.read();
    QCOMPARE(rig.bus->count("w 05"), 4); // tests 0 and 1, then 1 and 2
    QCOMPARE(held(rig.store), generated(3, {0, 1, 2}));
    QCOMPARE(rig.log.last(), finished(1, 2, 0));

    // A short reply reads as zeros, not as what the last read left in the buffer.
    rig.bus->setPlugged(0, false);
    rig.bus->addInstrument(instrument("generation=older;short-reply=1:12")); // no count
    rig.read();
    QCOMPARE(rig.log.last(), finished(0, 0, 0));
}

// Presence is signalled once per change; of two instruments the last wins.
// The reader here on its default transport, libusb, led to the simulated bus.
void TestViewerUsb::presenceOverLibusb() {
    ReaderRig rig({instrument("generation=newer;model=other", 2)}, true);
    fakeUsbBus = rig.bus;
    rig.bus->addForeignDevice(0x03EB, 0x0012);
    const int older = rig.bus->addInstrument(instrument("generation=older"));
    rig.read();
    QCOMPARE(held(rig.store), generated(0, {0, 1, 2}));
    rig.bus->setPlugged(older, false); // the newer one is still there
    rig.read();
    QCOMPARE(held(rig.store), generated(0, {0, 1, 2}) + generated(1, {0, 1}));
    QCOMPARE(rig.bus->trace().mid(0, 4),
             QStringList({"open", "config 1", "claim 0", "w 01000000"}));
    QCOMPARE(rig.bus->count("close"), rig.bus->count("open"));
    QCOMPARE(rig.bus->timeouts(), QSet<int>{1000});
    rig.bus->setPlugged(0, false);
    rig.viewer.checkPresentDev();
    rig.viewer.checkPresentDev();
    // Read pressed just after the instrument went away: no transfer.
    rig.bus->clearTrace();
    rig.viewer.readDevices();
    QVERIFY(rig.bus->trace().isEmpty());
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::NoInstrument);
    rig.bus->setPlugged(0, true);
    rig.viewer.checkPresentDev();
    QCOMPARE(rig.presence, QList<QList<QVariant>>({{true}, {false}, {true}}));

    // A denied open says what to do about it.
    rig.bus->addInstrument(instrument("access=denied"));
    rig.read();
    QVERIFY2(rig.log.last().contains("Permission denied") && rig.log.last().contains("udev"),
             qPrintable(rig.log.last()));
}

// A project takes 255 tests; a read into a new project goes on with the rest.
void TestViewerUsb::fullProjectStopsAndTheNextReadContinues() {
    ReaderRig rig({instrument("generation=newer", 7)});
    for (int i = 0; i < 252; ++i)
        QVERIFY(rig.store.add(projectTest(i)));
    rig.read();
    QCOMPARE(rig.store.count(), 255);
    QCOMPARE(rig.bus->count("w 09"), 3);
    QCOMPARE(rig.viewer.lastReport().notRead(), qint64(4));
    QVERIFY(rig.log.contains(
        "The project holds 255 tests, as many as a project file can take: 4 tests stayed on "
        "the instrument. Save this project, close it and read again: the new project "
        "continues with them (tests it holds already are skipped)."));

    rig.store.clear(); // a new project
    rig.read();
    QVERIFY(rig.log.contains(
        "Tests 1 to 3 were read into the previous project; this read continues with test 4."));
    QCOMPARE(held(rig.store), generated(2, {3, 4, 5, 6}));
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Complete);
    rig.read(); // once all went in, the next read starts from the first test again
    QCOMPARE(rig.store.count(), 7);
}

QTEST_GUILESS_MAIN(TestViewerUsb)
#include "tst_viewerusb.moc"
