#include "readerrig.h"

#include <QtTest>

// The reader driven through simulated instruments of both generations, byte
// for byte: what goes over the wire, what is logged where, which tests stay.

namespace {
const QByteArray WriteTimeout = "error writing to bulk endpoint 2: Connection timed out";
const QByteArray ReadTimeout = "error reading from bulk endpoint 0x81: Connection timed out";
const QByteArray WriteGone = "error writing to bulk endpoint 2: No such device";
const QString Ident = QStringLiteral("SETROVIA-DEV-01.03");
const QString Try = QStringLiteral("Try read old process ");
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
    void zeroTests_data();
    void zeroTests();
    void heldTestsAreSkipped_data();
    void heldTestsAreSkipped();
    void failureExits_data();
    void failureExits();
    void everyCellFails();
    void identificationLength_data();
    void identificationLength();
    void presenceAndUnplug();
    void lastMatchingDeviceIsUsed();
    void noPermission();
    void stopMidRead();
    void progressReports();
};

void TestViewerUsb::allFourKinds_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("blockBytes");
    QTest::addColumn<int>("reads64PerTest");
    QTest::addColumn<QString>("restRead");
    // Newer: one 64-byte header read per cell besides the sample packets.
    QTest::newRow("newer, model string") << "generation=newer" << 2 << 20000 << 313 << "r 32";
    QTest::newRow("newer, other model")
        << "generation=newer;model=SETROVIA-DEV-02.11" << 1 << 10000 << 157 << "r 16";
    QTest::newRow("newer, model without its zero byte")
        << "generation=newer;model=SETROVIA-DEV-02.10X" << 1 << 10000 << 157 << "r 16";
    QTest::newRow("older, version 1.1") << "generation=older" << 0 << 17280 << 270 << "";
    QTest::newRow("older, other version")
        << "generation=older;version=0x00010002" << 3 << 34560 << 540 << "";
}

void TestViewerUsb::allFourKinds() {
    QFETCH(QString, options);
    QFETCH(int, kind);
    QFETCH(int, blockBytes);
    QFETCH(int, reads64PerTest);
    QFETCH(QString, restRead);
    ReaderRig rig(instrument(options));
    const QByteArray out = rig.read();
    const bool newer = options.contains(QLatin1String("newer"));

    QCOMPARE(rig.ends.count(), 1);
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Complete);
    QCOMPARE(rig.store.count(), 3);
    QCOMPARE(rig.added.count(), 3);
    for (int i = 0; i < 3; ++i) {
        const InstrumentTest expected = TestGenerator::test(quint8(kind), i, 1);
        const ProcessP *record = rig.store.at(i);
        QCOMPARE(rig.addedRecord(i), record);
        QCOMPARE(int(record->kind()), kind);
        QCOMPARE(record->samples().size(), blockBytes);
        QCOMPARE(record->header(), expected.header);
        QCOMPARE(record->samples(), expected.samples);
    }
    const QStringList trace = rig.bus->trace();
    QCOMPARE(trace.mid(0, 3), QStringList({"open", "config 1", "claim 0"}));
    QCOMPARE(trace.last(), QStringLiteral("close"));
    QCOMPARE(rig.bus->count("r 64"), 3 * reads64PerTest);
    if (!restRead.isEmpty())
        QCOMPARE(rig.bus->count(restRead), 3);
    QCOMPARE(rig.bus->timeouts(), QSet<int>{1000});
    QCOMPARE(rig.bus->badEndpoints(), 0);
    if (newer) {
        QCOMPARE(trace.mid(3, 4), QStringList({"w 02000000", "r 19", "w 07000000", "r 8"}));
        // Cell 1: header command 8 with index 1, 64 + 4 bytes, then command 9.
        const int cell1 = trace.indexOf("w 080000000100");
        QCOMPARE(trace.mid(cell1, 4),
                 QStringList({"w 080000000100", "r 64", "r 4", "w 090000000100"}));
        QCOMPARE(out, QByteArray("Open dev\nRead cell 0\nRead cell 1\nRead cell 2\n"));
        QCOMPARE(rig.log(), QStringList{finished(3, 0, 0)});
    } else {
        QCOMPARE(trace.mid(3, 6), QStringList({"w 01000000", "r 20", "w 02000000", "r 20",
                                               "w 03000000", "w 04000000"}));
        QCOMPARE(trace.mid(9, 3), QStringList({"r 72", "w 05000000", "r 64"}));
        QCOMPARE(out, QByteArray("Open dev\n"));
        QCOMPARE(rig.log(), QStringList({Ident, Try, Try, Try, finished(3, 0, 0)}));
    }
}

void TestViewerUsb::zeroTests_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("trace");
    const QStringList open{"open", "config 1", "claim 0"};
    QTest::newRow("newer") << "generation=newer"
                           << open +
                                  QStringList{"w 02000000", "r 19", "w 07000000", "r 8", "close"};
    QTest::newRow("older") << "generation=older"
                           << open + QStringList{"w 01000000", "r 20",       "w 02000000",
                                                 "r 20",       "w 03000000", "close"};
}

void TestViewerUsb::zeroTests() {
    QFETCH(QString, options);
    QFETCH(QStringList, trace);
    ReaderRig rig(instrument(options, 0));
    rig.read();
    QCOMPARE(rig.bus->trace(), trace);
    QCOMPARE(rig.ends.count(), 1);
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Complete);
    QCOMPARE(rig.store.count(), 0);
    QVERIFY(rig.progress.isEmpty());
}

void TestViewerUsb::heldTestsAreSkipped_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("sampleCommand");
    QTest::newRow("newer") << "generation=newer"
                           << "w 09";
    QTest::newRow("older") << "generation=older;version=7"
                           << "w 05";
}

void TestViewerUsb::heldTestsAreSkipped() {
    QFETCH(QString, options);
    QFETCH(QString, sampleCommand);
    const SimulatedInstrument::Setup setup = instrument(options);
    const quint8 kind = SimulatedInstrument::kindFor(setup);
    ReaderRig rig(setup);
    // Test 1 is already in the project.
    const InstrumentTest held = TestGenerator::test(kind, 1, 1);
    QVERIFY(rig.store.add(new ProcessP(held.header, held.samples, kind)));
    rig.read();
    QCOMPARE(rig.added.count(), 2);
    QCOMPARE(rig.bus->count(sampleCommand), 2);
    QCOMPARE(rig.heldHeaders(), headersOf(kind, {1, 0, 2}));
    QCOMPARE(rig.log().last(), finished(2, 1, 0));

    rig.bus->clearTrace();
    const QByteArray out = rig.read();
    QCOMPARE(rig.ends.count(), 2);
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Complete);
    QCOMPARE(rig.added.count(), 2);
    QCOMPARE(rig.store.count(), 3);
    QCOMPARE(rig.bus->count(sampleCommand), 0);
    QCOMPARE(rig.log().last(), finished(0, 3, 0));
    if (kind == 2)
        QCOMPARE(out, QByteArray("Open dev\nRead cell 0\nRead cell 1\nRead cell 2\n"));
    else
        QCOMPARE(rig.bus->count("w 04000000"), 3);
}

void TestViewerUsb::failureExits_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QList<int>>("kept");
    const QByteArray open = "Open dev\n";
    const QByteArray cells02 = "Open dev\nRead cell 0\nRead cell 1\nRead cell 2\n";
    const QString lost = QStringLiteral("Erorr read lubusb: ");
    const QString send = QStringLiteral("Can't send command %1. usb_strerror() = ");
    const QString reply = QStringLiteral("Can't read replay for command %1. usb_strerror() = ");
    // Three tests on the instrument; the last line of the log sums the read up.
    const QString twoOfThree = finished(2, 0, 1);

    QTest::newRow("newer: command 2 write")
        << "fail-write=2" << open + "Erorr write com:\n" + WriteTimeout + "\n"
        << QStringList{send.arg(2) + WriteTimeout, Early} << QList<int>();
    QTest::newRow("newer: command 2 short write")
        << "short-write=2" << open + "Erorr write com:\n\n"
        << QStringList{send.arg(2), Early} << QList<int>();
    QTest::newRow("newer: identification reply")
        << "fail-reply=2;model=X"
        << open + "error read type of vantel\nRead cell 0\nRead cell 1\nRead cell 2\n"
        << QStringList{reply.arg(2) + ReadTimeout, finished(3, 0, 0)} << QList<int>{0, 1, 2};
    QTest::newRow("newer: command 7 write")
        << "fail-write=7" << open + "Erorr write com:\n" + WriteTimeout + "\n"
        << QStringList{send.arg(7) + WriteTimeout, Early} << QList<int>();
    QTest::newRow("newer: cell count reply")
        << "fail-reply=7" << open + "read cells:\n" + ReadTimeout + "\n"
        << QStringList{reply.arg(7) + ReadTimeout, Early} << QList<int>();
    QTest::newRow("newer: header command write")
        << "fail-write=8@1"
        << open + "Read cell 0\nErorr write com:\n" + WriteTimeout + "\nRead cell 2\n"
        << QStringList{send.arg(8) + WriteTimeout, twoOfThree} << QList<int>{0, 2};
    QTest::newRow("newer: header reply")
        << "fail-reply=8@1"
        << open + "Read cell 0\nErorr read Cell " + ReadTimeout + "\nRead cell 2\n"
        << QStringList{reply.arg(8) + ReadTimeout, twoOfThree} << QList<int>{0, 2};
    QTest::newRow("newer: header cut in the first part")
        << "short-reply=8@1:40"
        << open + "Read cell 0\nErorr read Cell short transfer, 40 of 64 bytes\nRead cell 2\n"
        << QStringList{reply.arg(8) + "short transfer, 40 of 64 bytes", twoOfThree}
        << QList<int>{0, 2};
    QTest::newRow("newer: header cut in the second part")
        << "short-reply=8@1:66"
        << open + "Read cell 0\nErorr read Cell short transfer, 2 of 4 bytes\nRead cell 2\n"
        << QStringList{reply.arg(8) + "short transfer, 2 of 4 bytes", twoOfThree}
        << QList<int>{0, 2};
    QTest::newRow("newer: sample command write")
        << "fail-write=9@1" << cells02 << QStringList{"Can not read number of process", twoOfThree}
        << QList<int>{0, 2};
    QTest::newRow("newer: no samples at all")
        << "fail-reply=9@1" << cells02
        << QStringList{"Read frame #0", lost + ReadTimeout, twoOfThree} << QList<int>{0, 2};
    QTest::newRow("newer: packet 100 lost")
        << "fail-packet=1:100" << cells02
        << QStringList{"Read frame #100", lost + ReadTimeout, twoOfThree} << QList<int>{0, 2};
    QTest::newRow("newer: the 32-byte rest lost")
        << "fail-packet=1:312" << cells02
        << QStringList{"Read frame #312", lost + ReadTimeout, twoOfThree} << QList<int>{0, 2};
    QTest::newRow("newer: short packet")
        << "short-packet=1:5" << cells02
        << QStringList{"Read frame #5", lost + "short transfer, 32 of 64 bytes", twoOfThree}
        << QList<int>{0, 2};
    QTest::newRow("newer: unplugged after test 1")
        << "unplug-after=1"
        << open + "Read cell 0\nRead cell 1\nErorr write com:\n" + WriteGone + "\n"
        << QStringList{send.arg(8) + WriteGone, twoOfThree} << QList<int>{0, 1};

    const QByteArray qqq = "Erorr qqq com:\n" + ReadTimeout + "\n";
    const QString noneOfThree = finished(0, 0, 3);
    const QString oneOfThree = finished(1, 0, 2);
    QTest::newRow("older: info write")
        << "generation=older;fail-write=1" << open << QStringList{send.arg(1) + WriteTimeout, Early}
        << QList<int>();
    QTest::newRow("older: info short write") << "generation=older;short-write=1" << open
                                             << QStringList{send.arg(1), Early} << QList<int>();
    QTest::newRow("older: info reply")
        << "generation=older;fail-reply=1" << open + qqq
        << QStringList{reply.arg(1) + ReadTimeout, Early} << QList<int>();
    QTest::newRow("older: identification write")
        << "generation=older;fail-write=2" << open
        << QStringList{send.arg(2) + WriteTimeout, noneOfThree} << QList<int>();
    QTest::newRow("older: identification reply")
        << "generation=older;fail-reply=2" << open + qqq
        << QStringList{reply.arg(2) + ReadTimeout, noneOfThree} << QList<int>();
    QTest::newRow("older: start write")
        << "generation=older;fail-write=3" << open
        << QStringList{Ident, send.arg(3) + WriteTimeout, noneOfThree} << QList<int>();
    QTest::newRow("older: header write")
        << "generation=older;fail-write=4@1" << open
        << QStringList{Ident, Try, Try, send.arg(4) + WriteTimeout, oneOfThree} << QList<int>{0};
    QTest::newRow("older: header reply")
        << "generation=older;fail-reply=4@1" << open + qqq
        << QStringList{Ident, Try, Try, reply.arg(4) + ReadTimeout, oneOfThree} << QList<int>{0};
    QTest::newRow("older: short header")
        << "generation=older;short-reply=4@1:40" << open
        << QStringList{Ident, Try, Try, "Short header of a stored test: 40 of 72 bytes", oneOfThree}
        << QList<int>{0};
    QTest::newRow("older: sample command write")
        << "generation=older;fail-write=5@1" << open
        << QStringList{Ident, Try, Try, send.arg(5) + WriteTimeout, oneOfThree} << QList<int>{0};
    QTest::newRow("older: last packet lost")
        << "generation=older;fail-packet=1:269" << open
        << QStringList{Ident, Try, Try, "Read frame #269", lost + ReadTimeout, oneOfThree}
        << QList<int>{0};
    QTest::newRow("older: short first packet")
        << "generation=older;short-packet=1:0" << open
        << QStringList{Ident,
                       Try,
                       Try,
                       "Read frame #0",
                       lost + "short transfer, 32 of 64 bytes",
                       oneOfThree}
        << QList<int>{0};
    QTest::newRow("older: unplugged after test 0")
        << "generation=older;unplug-after=0" << open
        << QStringList{Ident, Try, Try, send.arg(4) + WriteGone, oneOfThree} << QList<int>{0};
}

void TestViewerUsb::failureExits() {
    QFETCH(QString, options);
    QFETCH(QByteArray, out);
    QFETCH(QStringList, log);
    QFETCH(QList<int>, kept);
    const SimulatedInstrument::Setup setup = instrument(options);
    ReaderRig rig(setup);
    QCOMPARE(rig.read(), out);
    QCOMPARE(rig.log(), log);
    QCOMPARE(rig.ends.count(), 1);
    // Even where the reader goes on to the next test, the read as a whole failed.
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Failed);
    QCOMPARE(rig.bus->trace().last(), QStringLiteral("close"));
    // Only whole tests become records; each is exactly what the instrument holds.
    QCOMPARE(rig.heldHeaders(), headersOf(SimulatedInstrument::kindFor(setup), kept));
    QCOMPARE(rig.added.count(), kept.size());
    for (int i = 0; i < kept.size(); ++i)
        QCOMPARE(rig.store.at(i)->samples(),
                 TestGenerator::test(rig.store.at(i)->kind(), kept.at(i), 1).samples);
}

// 255 cells, the most the count byte can say, and not one header arrives:
// each cell is tried, logged and skipped, and the read still ends once.
void TestViewerUsb::everyCellFails() {
    ReaderRig rig(instrument("generation=newer;fail-reply=8", 255));
    const QByteArray out = rig.read();
    QCOMPARE(out.count("Erorr read Cell "), 255);
    QCOMPARE(rig.bus->count("w 08"), 255);
    QCOMPARE(rig.bus->count("w 09"), 0);
    const QStringList log = rig.log();
    QCOMPARE(log.size(), 256);
    QCOMPARE(log.count(QStringLiteral("Can't read replay for command 8. usb_strerror() = ") +
                       ReadTimeout),
             255);
    QCOMPARE(log.last(), finished(0, 0, 255));
    QCOMPARE(rig.ends.count(), 1);
    QCOMPARE(rig.store.count(), 0);
    QCOMPARE(rig.bus->trace().last(), QStringLiteral("close"));
}

void TestViewerUsb::identificationLength_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("identRead");
    QTest::addColumn<QString>("ident");
    QTest::newRow("300 bytes") << "ident-length=300"
                               << "r 256" << Ident;
    QTest::newRow("2^32 - 1 bytes") << "ident-length=4294967295"
                                    << "r 256" << Ident;
    QTest::newRow("5 bytes, no zero byte") << "ident-length=5"
                                           << "r 5"
                                           << "SETR";
    QTest::newRow("none") << "ident-length=0"
                          << "w 03000000"
                          << "";
}

void TestViewerUsb::identificationLength() {
    QFETCH(QString, options);
    QFETCH(QString, identRead);
    QFETCH(QString, ident);
    ReaderRig rig(instrument("generation=older;" + options));
    rig.read();
    const QStringList trace = rig.bus->trace();
    QCOMPARE(trace.at(trace.indexOf("w 02000000") + 1), identRead);
    QCOMPARE(rig.log().value(0), ident);
    // What the instrument sent beyond the buffer does not disturb the tests.
    QCOMPARE(rig.heldHeaders(), headersOf(0, {0, 1, 2}));
}

void TestViewerUsb::presenceAndUnplug() {
    ReaderRig rig(instrument("generation=newer"));
    rig.bus->addForeignDevice(0x046D, 0xC077);
    rig.read();
    QCOMPARE(rig.store.count(), 3);
    rig.viewer.checkPresentDev();
    rig.bus->setPlugged(0, false);
    rig.viewer.checkPresentDev();
    rig.viewer.checkPresentDev();

    // Read device pressed just after the instrument went away: no transfer.
    rig.bus->clearTrace();
    StdoutCapture out;
    rig.viewer.readDevices();
    QCOMPARE(out.take(), QByteArray());
    QVERIFY(rig.bus->trace().isEmpty());
    QCOMPARE(rig.ends.count(), 2);
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::NoInstrument);

    rig.bus->setPlugged(0, true);
    rig.viewer.checkPresentDev();
    rig.viewer.checkPresentDev();
    QCOMPARE(rig.presence, QList<QList<QVariant>>({{true}, {false}, {true}}));

    // A bus with nothing of ours reports nothing: absent is the start state.
    ReaderRig foreign;
    foreign.bus->addForeignDevice(0x03EB, 0x0012);
    foreign.viewer.checkPresentDev();
    QVERIFY(foreign.presence.isEmpty());
}

void TestViewerUsb::lastMatchingDeviceIsUsed() {
    ReaderRig rig(instrument("generation=newer"));
    rig.bus->addForeignDevice(0x03EB, 0x0012);
    const int older = rig.bus->addInstrument(instrument("generation=older"));
    rig.bus->addForeignDevice(0x046D, 0x0011);
    rig.read();
    QCOMPARE(rig.heldHeaders(), headersOf(0, {0, 1, 2}));
    QCOMPARE(rig.bus->count("w 01000000"), 1);

    // The older one goes; the newer one is still there, so presence holds.
    rig.bus->setPlugged(older, false);
    rig.read();
    QCOMPARE(rig.presence.count(), 1);
    QCOMPARE(rig.heldHeaders(), headersOf(0, {0, 1, 2}) + headersOf(2, {0, 1, 2}));
}

void TestViewerUsb::noPermission() {
    ReaderRig denied(instrument("access=denied"));
    QCOMPARE(denied.read(), QByteArray("Can not open dev\n"));
    QCOMPARE(denied.bus->trace(), QStringList({"open"}));
    QCOMPARE(denied.ends.count(), 1);
    QCOMPARE(denied.viewer.lastRead(), ViewerUsb::ReadResult::Failed);
    QCOMPARE(denied.log().size(), 1);
    const QString hint = denied.log().at(0);
    QVERIFY2(hint.contains("/dev/bus/usb/001/002: Permission denied") &&
                 hint.contains("60-setrovia.rules") && hint.contains("plug it in again"),
             qPrintable(hint));

    // Opened read-only: configuration and claim are refused, the read goes on
    // to its first command and ends there.
    ReaderRig readOnly(instrument("access=read-only"));
    QCOMPARE(readOnly.read(), QByteArray("Open dev\nErorr write com:\nerror writing to bulk "
                                         "endpoint 2: Operation not permitted\n"));
    QCOMPARE(readOnly.log().size(), 3);
    QVERIFY(readOnly.log().at(0).contains("60-setrovia.rules"));
    QCOMPARE(
        readOnly.log().mid(1),
        QStringList({"Can't send command 2. usb_strerror() = error writing to bulk endpoint 2: "
                     "Operation not permitted",
                     Early}));
    QCOMPARE(readOnly.ends.count(), 1);
    QCOMPARE(readOnly.viewer.lastRead(), ViewerUsb::ReadResult::Failed);
}

void TestViewerUsb::stopMidRead() {
    ReaderRig rig(instrument("generation=older;version=2"));
    QObject::connect(&rig.viewer, &ViewerUsb::readProgress, [&](int test, int, int packet, int) {
        if (test == 2 && packet == 8)
            rig.viewer.requestStop();
    });
    rig.read();
    QCOMPARE(rig.ends.count(), 1);
    QCOMPARE(rig.heldHeaders(), headersOf(3, {0}));
    QCOMPARE(rig.log().mid(3),
             QStringList({"Read frame #8", "Erorr read lubusb: read stopped", finished(1, 0, 2)}));
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Failed);
    QCOMPARE(rig.bus->count("r 64"), 540 + 8);
    QCOMPARE(rig.bus->trace().last(), QStringLiteral("close"));

    // The next read is not stopped.
    QObject::disconnect(&rig.viewer, &ViewerUsb::readProgress, nullptr, nullptr);
    rig.read();
    QCOMPARE(rig.heldHeaders(), headersOf(3, {0, 1, 2}));
    QCOMPARE(rig.viewer.lastRead(), ViewerUsb::ReadResult::Complete);
}

void TestViewerUsb::progressReports() {
    ReaderRig rig(instrument("generation=newer;model=other", 2));
    rig.read();
    // 157 transfers per block: at the start, after every 8th (8..152) and after the last.
    QCOMPARE(rig.progress.count(), 2 * 21);
    QCOMPARE(rig.progress.at(0), QList<QVariant>({1, 2, 0, 157}));
    QCOMPARE(rig.progress.at(1), QList<QVariant>({1, 2, 8, 157}));
    QCOMPARE(rig.progress.at(19), QList<QVariant>({1, 2, 152, 157}));
    QCOMPARE(rig.progress.at(20), QList<QVariant>({1, 2, 157, 157}));
    QCOMPARE(rig.progress.at(21), QList<QVariant>({2, 2, 0, 157}));
    QCOMPARE(rig.progress.last(), QList<QVariant>({2, 2, 157, 157}));
}

QTEST_GUILESS_MAIN(TestViewerUsb)
#include "tst_viewerusb.moc"
