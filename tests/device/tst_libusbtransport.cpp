#include "fakelibusb.h"
#include "readerrig.h"

#include <QtTest>

// The reader on its default transport, libusb, linked here against libusb
// functions that lead to a simulated bus: the whole real path, call for call.
namespace {
struct LibUsbRig {
    LibUsbRig() {
        fakeUsbBus = &bus;
        viewer.setKeeper(&store);
    }
    ~LibUsbRig() { fakeUsbBus = nullptr; }
    SimulatorTransport bus;
    KeeperProc store;
    ViewerUsb viewer; // on libusb
    QSignalSpy presence{&viewer, &ViewerUsb::activateUsbButton};
    QSignalSpy messages{&viewer, &ViewerUsb::sendMes};
};
} // namespace

class TestLibUsbTransport : public QObject {
    Q_OBJECT
private slots:
    void readsBothGenerationsThroughLibusb();
    void deniedOpenSaysWhatToDo();
};

void TestLibUsbTransport::readsBothGenerationsThroughLibusb() {
    LibUsbRig rig;
    SimulatorTransport &bus = rig.bus;
    bus.addForeignDevice(0x046D, 0xC077);
    bus.addInstrument(instrument("generation=newer;model=other", 2));
    const int older = bus.addInstrument(instrument("generation=older;version=9", 2));
    ViewerUsb &viewer = rig.viewer;
    KeeperProc &store = rig.store;

    viewer.checkPresentDev();
    viewer.readDevices(); // the older instrument, last on the bus
    bus.setPlugged(older, false);
    viewer.checkPresentDev();
    viewer.readDevices();

    QCOMPARE(rig.presence.count(), 1);
    QCOMPARE(store.count(), 4);
    const quint8 kinds[] = {3, 3, 1, 1};
    const int tests[] = {0, 1, 0, 1};
    for (int i = 0; i < 4; ++i) {
        const InstrumentTest expected = TestGenerator::test(kinds[i], tests[i], 1);
        QCOMPARE(store.at(i)->header(), expected.header);
        QCOMPARE(store.at(i)->samples(), expected.samples);
    }
    const QStringList trace = bus.trace();
    QCOMPARE(trace.mid(0, 4), QStringList({"open", "config 1", "claim 0", "w 01000000"}));
    QCOMPARE(bus.count("open"), 2);
    QCOMPARE(bus.count("close"), 2);
    QCOMPARE(bus.timeouts(), QSet<int>{1000});
    QCOMPARE(bus.badEndpoints(), 0);
}

void TestLibUsbTransport::deniedOpenSaysWhatToDo() {
    LibUsbRig rig;
    rig.bus.addInstrument(instrument("access=denied"));
    rig.viewer.checkPresentDev();
    rig.viewer.readDevices();
    QCOMPARE(rig.messages.count(), 1);
    const QString hint = rig.messages.at(0).at(0).toString();
    QVERIFY2(hint.contains("Permission denied") && hint.contains("udev"), qPrintable(hint));
}

QTEST_GUILESS_MAIN(TestLibUsbTransport)
#include "tst_libusbtransport.moc"
