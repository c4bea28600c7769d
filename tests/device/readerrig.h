#ifndef READERRIG_H
#define READERRIG_H

// A reader wired to a simulated bus, with its messages and signals recorded.

#include "device/viewerusb.h"
#include "records/keeperproc.h"
#include "simulator/simulatoroptions.h"
#include "simulator/simulatortransport.h"
#include "simulator/testgenerator.h"
#include "testrecords.h"

#include <QSignalSpy>

// The instrument the options describe, holding `tests` generated tests (seed 1).
inline SimulatedInstrument::Setup instrument(const QString &options, int tests = 3) {
    SimulatedInstrument::Setup setup = SimulatorOptions::parse(options).setup;
    setup.tests = TestGenerator::tests(SimulatedInstrument::kindFor(setup), tests, 1);
    return setup;
}

// A test as the checks compare it: kind, header, and a hash of the samples.
inline QString testKey(const InstrumentTest &t) {
    return QString::number(t.kind) + ' ' + t.header.toHex() + ' ' +
           QString::number(qHash(t.samples));
}
inline QStringList held(const KeeperProc &store) {
    QStringList list;
    for (int i = 0; i < store.count(); ++i)
        list << testKey({store.at(i)->header(), store.at(i)->kind(), store.at(i)->samples()});
    return list;
}
// The generated tests of these numbers (seed 1).
inline QStringList generated(quint8 kind, const QList<int> &tests) {
    QStringList list;
    for (int i : tests)
        list << testKey(TestGenerator::test(kind, i, 1));
    return list;
}

// A test of the project (kind 1), told apart by its start time from the others
// and from every generated one.
inline ProcessP *projectTest(int i) {
    testrecords::HeaderFields s;
    s.year = 30;
    s.second = quint8(i % 60);
    s.minute = quint8(i / 60);
    return new ProcessP(testrecords::header(s), testrecords::samples(1), 1);
}

struct ReaderRig {
    // libusb: the reader on its default transport, which the test leads to the bus.
    explicit ReaderRig(const QList<SimulatedInstrument::Setup> &instruments, bool libusb = false)
        : bus(new SimulatorTransport), libusbBus(libusb ? bus : nullptr),
          viewer(std::unique_ptr<UsbTransport>(libusb ? nullptr : bus)) {
        for (const SimulatedInstrument::Setup &setup : instruments)
            bus->addInstrument(setup);
        viewer.setKeeper(&store);
        QObject::connect(&viewer, &ViewerUsb::sendMes,
                         [this](const QString &line) { log << line; });
    }

    // A presence check and one read.
    void read() {
        viewer.checkPresentDev();
        viewer.readDevices();
    }

    SimulatorTransport *bus; // owned by the viewer, or else by libusbBus
    std::unique_ptr<SimulatorTransport> libusbBus;
    KeeperProc store;
    QStringList log; // the messages
    ViewerUsb viewer;
    QSignalSpy added{&viewer, &ViewerUsb::addedNewProc};
    QSignalSpy presence{&viewer, &ViewerUsb::activateUsbButton};
};

#endif // READERRIG_H
