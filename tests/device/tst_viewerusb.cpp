#include "fakelibusb.h"
#include "readerrig.h"
#include "testrecords.h"

#include <QtTest>

// The reader against simulated instruments: the wire, the log, the tests kept.

namespace {
const QByteArray WriteTimeout = "error writing to bulk endpoint 2: Connection timed out";
const QByteArray ReadTimeout = "error reading from bulk endpoint 0x81: Connection timed out";
const QByteArray WriteGone = "error writing to bulk endpoint 2: No such device";
const QString Ident = QStringLiteral("SETROVIA-DEV-01.03");
const QString Try = QStringLiteral("Try read old process ");
const QString Gone = QStringLiteral("The instrument has disappeared: no further commands are "
                                    "sent, and the tests not read stay on it.");
const QString Early =
    QStringLiteral("Read ended before the instrument told how many tests it holds.");

QString finished(int added, int held, int notRead) {
    return QStringLiteral("Read finished: %1 new tests, %2 already in the project, %3 not read.")
        .arg(added)
        .arg(held)
        .arg(notRead);
}

QStringList headersOf(quint8 kind, const QList<int> &tests) {
    QStringList list;
    for (int i : tests)
        list << QString::fromLatin1(TestGenerator::test(kind, i, 1).header.toHex());
    return list;
}
} // namespace

class TestViewerUsb : public QObject {
    Q_OBJECT
private slots:
    void allFourKinds_data();
    void allFourKinds();
    void readingTwiceAddsNothing();
    void failureExits_data();
    void failureExits();
    void oversizedIdentification();
    void shortReplyIsNotThePreviousOne();
    void presenceAndLastDevice();
    void stopMidRead();
    void fullProjectStopsAndTheNextReadContinues();
    void libusbCallForCall();
};

void TestViewerUsb::allFourKinds_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("reads64PerTest");
    // Newer: one 64-byte header read per cell besides the sample packets.
    QTest::newRow("newer, model string") << "generation=newer" << 2 << 313;
    QTest::newRow("newer, model without its zero byte")
        << "generation=newer;model=SETROVIA-DEV-02.10X" << 1 << 157;
    QTest::newRow("older, version 1.1") << "generation=older" << 0 << 270;
    QTest::newRow("older, other version") << "generation=older;version=0x00010002" << 3 << 540;
}

void TestViewerUsb::allFourKinds() {
    QFETCH(QString, options);
    QFETCH(int, kind);
    QFETCH(int, reads64PerTest);
    ReaderRig rig(instrument(options));
    rig.read();
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Complete);
    QCOMPARE(rig.heldHeaders(), headersOf(quint8(kind), {0, 1, 2}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rig.store.at(i)->samples(), TestGenerator::test(quint8(kind), i, 1).samples);
    QCOMPARE(rig.bus->count("r 64"), 3 * reads64PerTest);
    const QStringList trace = rig.bus->trace();
    QCOMPARE(trace.last(), QStringLiteral("close"));
    if (options.contains(QLatin1String("newer"))) {
        QCOMPARE(trace.mid(3, 4), QStringList({"w 02000000", "r 19", "w 07000000", "r 8"}));
        const int cell1 = trace.indexOf("w 080000000100");
        QCOMPARE(trace.mid(cell1, 4),
                 QStringList({"w 080000000100", "r 64", "r 4", "w 090000000100"}));
        QCOMPARE(rig.log(), QStringList{finished(3, 0, 0)});
    } else {
        QCOMPARE(trace.mid(3, 9),
                 QStringList({"w 01000000", "r 20", "w 02000000", "r 20", "w 03000000",
                              "w 04000000", "r 72", "w 05000000", "r 64"}));
        QCOMPARE(rig.log(), QStringList({Ident, Try, Try, Try, finished(3, 0, 0)}));
    }
}

void TestViewerUsb::readingTwiceAddsNothing() {
    const SimulatedInstrument::Setup setup = instrument("generation=older;version=7");
    const quint8 kind = SimulatedInstrument::kindFor(setup);
    ReaderRig rig(setup);
    const InstrumentTest held = TestGenerator::test(kind, 1, 1); // already in the project
    QVERIFY(rig.store.add(new ProcessP(held.header, held.samples, kind)));
    rig.read();
    QCOMPARE(rig.bus->count("w 05"), 2);
    QCOMPARE(rig.heldHeaders(), headersOf(kind, {1, 0, 2}));
    QCOMPARE(rig.log().last(), finished(2, 1, 0));
    rig.bus->clearTrace();
    rig.read();
    QCOMPARE(rig.store.count(), 3);
    QCOMPARE(rig.bus->count("w 05"), 0);
    QCOMPARE(rig.log().last(), finished(0, 3, 0));

    // Test 1 arriving in the store while its samples are read counts as held.
    rig.store.clear();
    rig.bus->clearTrace();
    rig.bus->setTransferHook([&] {
        if (rig.bus->count("w 05") == 2 && rig.store.count() == 1)
            rig.store.add(new ProcessP(held.header, held.samples, kind));
    });
    rig.read();
    QCOMPARE(rig.log().last(), finished(2, 1, 0));
}

void TestViewerUsb::failureExits_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QList<int>>("kept");
    const QString lost = QStringLiteral("Erorr read lubusb: ");
    const QString send = QStringLiteral("Can't send command %1. usb_strerror() = ");
    const QString reply = QStringLiteral("Can't read replay for command %1. usb_strerror() = ");
    const QString two = finished(2, 0, 1), one = finished(1, 0, 2), none = finished(0, 0, 3);
    const QList<int> nothing, t0{0}, t02{0, 2};
    auto row = [](const char *name, const QString &options, const QStringList &log,
                  const QList<int> &kept) { QTest::newRow(name) << options << log << kept; };

    row("newer: command 2 write", "fail-write=2", {send.arg(2) + WriteTimeout, Early}, nothing);
    row("newer: identification reply", "fail-reply=2;model=X",
        {reply.arg(2) + ReadTimeout, finished(3, 0, 0)}, {0, 1, 2});
    row("newer: header reply", "fail-reply=8@1", {reply.arg(8) + ReadTimeout, two}, t02);
    row("newer: header cut short", "short-reply=8@1:40",
        {reply.arg(8) + "short transfer, 40 of 64 bytes", two}, t02);
    row("newer: sample command write", "fail-write=9@1", {"Can not read number of process", two},
        t02);
    row("newer: packet 100 lost", "fail-packet=1:100", {"Read frame #100", lost + ReadTimeout, two},
        t02);
    row("newer: half a packet", "short-packet=1:100",
        {"Read frame #100", lost + "short transfer, 32 of 64 bytes", two}, t02);
    // Once the device is gone no further command goes to it.
    row("newer: unplugged after test 1", "unplug-after=1", {Gone, send.arg(8) + WriteGone, two},
        {0, 1});
    row("older: info reply", "generation=older;fail-reply=1", {reply.arg(1) + ReadTimeout, Early},
        nothing);
    row("older: identification reply", "generation=older;fail-reply=2",
        {reply.arg(2) + ReadTimeout, none}, nothing);
    row("older: start write", "generation=older;fail-write=3",
        {Ident, send.arg(3) + WriteTimeout, none}, nothing);
    row("older: header reply", "generation=older;fail-reply=4@1",
        {Ident, Try, Try, reply.arg(4) + ReadTimeout, one}, t0);
    row("older: short header", "generation=older;short-reply=4@1:40",
        {Ident, Try, Try, "Short header of a stored test: 40 of 72 bytes", one}, t0);
    // Opened, but every command refused: the user is told about the udev rule.
    row("read-only device", "access=read-only",
        {"No permission to use the instrument (could not claim interface 0: Operation not "
         "permitted). Install the udev rule 60-setrovia.rules (see the README, \"Instrument "
         "access\"), then unplug the instrument and plug it in again.",
         send.arg(2) + "error writing to bulk endpoint 2: Operation not permitted", Early},
        nothing);
}

void TestViewerUsb::failureExits() {
    QFETCH(QString, options);
    QFETCH(QStringList, log);
    QFETCH(QList<int>, kept);
    const SimulatedInstrument::Setup setup = instrument(options);
    ReaderRig rig(setup);
    rig.read();
    QCOMPARE(rig.log(), log);
    QCOMPARE(rig.ends.count(), 1);
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Failed);
    QCOMPARE(rig.viewer.lastReport().gone, options.contains("unplug"));
    QCOMPARE(rig.bus->trace().last(), QStringLiteral("close"));
    QCOMPARE(rig.heldHeaders(), headersOf(SimulatedInstrument::kindFor(setup), kept));
    QCOMPARE(rig.added.count(), kept.size());
    for (int i = 0; i < kept.size(); ++i)
        QCOMPARE(rig.store.at(i)->samples(),
                 TestGenerator::test(rig.store.at(i)->kind(), kept.at(i), 1).samples);
}

// An identification longer than the buffer is read only as far as it goes.
void TestViewerUsb::oversizedIdentification() {
    for (const char *length : {"300", "4294967295"}) {
        ReaderRig rig(instrument(QStringLiteral("generation=older;ident-length=") + length));
        rig.read();
        const QStringList trace = rig.bus->trace();
        QCOMPARE(trace.at(trace.indexOf("w 02000000") + 1), QStringLiteral("r 256"));
        QCOMPARE(rig.log().value(0), Ident);
        QCOMPARE(rig.heldHeaders(), headersOf(0, {0, 1, 2}));
    }
}

// A short reply reads as zeros, not as what the last read left in the buffer.
void TestViewerUsb::shortReplyIsNotThePreviousOne() {
    ReaderRig rig(instrument("generation=older"));
    rig.read();
    rig.bus->setPlugged(0, false);
    rig.bus->addInstrument(instrument("generation=older;short-reply=1:12")); // no count
    rig.read();
    QCOMPARE(rig.store.count(), 3);
    QCOMPARE(rig.log().last(), finished(0, 0, 0));
}

// Presence is signalled once per change; of two instruments the last wins.
void TestViewerUsb::presenceAndLastDevice() {
    ReaderRig rig(instrument("generation=newer"));
    rig.bus->addForeignDevice(0x03EB, 0x0012);
    const int older = rig.bus->addInstrument(instrument("generation=older"));
    rig.read();
    QCOMPARE(rig.heldHeaders(), headersOf(0, {0, 1, 2}));
    rig.bus->setPlugged(older, false); // the newer one is still there
    rig.read();
    QCOMPARE(rig.heldHeaders(), headersOf(0, {0, 1, 2}) + headersOf(2, {0, 1, 2}));
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
}

void TestViewerUsb::stopMidRead() {
    ReaderRig rig(instrument("generation=older;version=2"));
    auto stop = QObject::connect(&rig.viewer, &ViewerUsb::readProgress,
                                 [&](int test, int, int packet, int) {
                                     if (test == 2 && packet == 8)
                                         rig.viewer.requestStop();
                                 });
    rig.read();
    QCOMPARE(rig.heldHeaders(), headersOf(3, {0}));
    QCOMPARE(rig.log().mid(3),
             QStringList({"Read frame #8", "Erorr read lubusb: read stopped", finished(1, 0, 2)}));
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Failed);
    QObject::disconnect(stop); // the next read is not stopped
    rig.read();
    QCOMPARE(rig.heldHeaders(), headersOf(3, {0, 1, 2}));
}

// A project takes 255 tests; a read into a new project goes on with the rest.
void TestViewerUsb::fullProjectStopsAndTheNextReadContinues() {
    const QString samplesCommand = "w 09";
    const SimulatedInstrument::Setup setup = instrument("generation=newer", 7);
    ReaderRig rig(setup);
    for (int i = 0; i < 252; ++i) {
        testrecords::HeaderFields s;
        s.year = 30;
        s.second = quint8(i % 60);
        s.minute = quint8(i / 60);
        QVERIFY(rig.store.add(new ProcessP(testrecords::header(s), testrecords::samples(1), 1)));
    }
    rig.read();
    QCOMPARE(rig.store.count(), 255);
    QCOMPARE(rig.bus->count(samplesCommand), 3);
    QCOMPARE(rig.viewer.lastReport().notRead(), qint64(4));
    QVERIFY(rig.log().contains(
        "The project holds 255 tests, as many as a project file can take: 4 tests stayed on "
        "the instrument. Save this project, close it and read again: the new project "
        "continues with them (tests it holds already are skipped)."));

    rig.store.clear(); // a new project
    rig.bus->clearTrace();
    rig.read();
    QVERIFY(rig.log().contains(
        "Tests 1 to 3 were read into the previous project; this read continues with test 4."));
    QCOMPARE(rig.heldHeaders(), headersOf(SimulatedInstrument::kindFor(setup), {3, 4, 5, 6}));
    QCOMPARE(rig.bus->count(samplesCommand), 4);
    QCOMPARE(rig.viewer.lastReport().result, ViewerUsb::ReadResult::Complete);
    rig.read(); // once all went in, the next read starts from the first test again
    QCOMPARE(rig.store.count(), 7);
}

// The reader on its default transport, libusb, led to a simulated bus.
void TestViewerUsb::libusbCallForCall() {
    SimulatorTransport bus;
    fakeUsbBus = &bus;
    KeeperProc store;
    ViewerUsb viewer;
    viewer.setKeeper(&store);
    QSignalSpy messages(&viewer, &ViewerUsb::sendMes);
    bus.addForeignDevice(0x046D, 0xC077);
    bus.addInstrument(instrument("generation=newer;model=other", 2));
    viewer.checkPresentDev();
    viewer.readDevices();
    QCOMPARE(store.count(), 2);
    for (int i = 0; i < 2; ++i) {
        const InstrumentTest expected = TestGenerator::test(1, i, 1);
        QCOMPARE(store.at(i)->header(), expected.header);
        QCOMPARE(store.at(i)->samples(), expected.samples);
    }
    QCOMPARE(bus.trace().mid(0, 4), QStringList({"open", "config 1", "claim 0", "w 02000000"}));
    QCOMPARE(bus.count("close"), bus.count("open"));
    QCOMPARE(bus.timeouts(), QSet<int>{1000});
    QCOMPARE(bus.badEndpoints(), 0);

    // A denied open says what to do about it.
    bus.addInstrument(instrument("access=denied"));
    viewer.checkPresentDev();
    viewer.readDevices();
    fakeUsbBus = nullptr;
    const QString hint = messages.value(messages.count() - 1).value(0).toString();
    QVERIFY2(hint.contains("Permission denied") && hint.contains("udev"), qPrintable(hint));
}

QTEST_GUILESS_MAIN(TestViewerUsb)
#include "tst_viewerusb.moc"
