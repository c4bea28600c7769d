#ifndef READERRIG_H
#define READERRIG_H

// A reader wired to a simulated bus, with every signal it sends recorded.

#include "device/viewerusb.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "simulator/simulatoroptions.h"
#include "simulator/simulatortransport.h"
#include "simulator/testgenerator.h"

#include <QSignalSpy>

// The instrument the options describe, holding `tests` generated tests (seed 1).
inline SimulatedInstrument::Setup instrument(const QString &options, int tests = 3) {
    SimulatedInstrument::Setup setup = SimulatorOptions::parse(options).setup;
    setup.tests = TestGenerator::tests(SimulatedInstrument::kindFor(setup), tests, 1);
    return setup;
}

struct ReaderRig {
    explicit ReaderRig(const QList<SimulatedInstrument::Setup> &instruments = {})
        : bus(new SimulatorTransport), viewer(std::unique_ptr<UsbTransport>(bus)) {
        for (const SimulatedInstrument::Setup &setup : instruments)
            bus->addInstrument(setup);
        viewer.setKeeper(&store);
    }
    explicit ReaderRig(const SimulatedInstrument::Setup &setup)
        : ReaderRig(QList<SimulatedInstrument::Setup>{setup}) {}

    // A presence check and one read.
    void read() {
        viewer.checkPresentDev();
        viewer.readDevices();
    }
    QStringList log() const {
        QStringList lines;
        for (const QList<QVariant> &args : messages)
            lines << args.at(0).toString();
        return lines;
    }
    QStringList heldHeaders() const {
        QStringList list;
        for (int i = 0; i < store.count(); ++i)
            list << QString::fromLatin1(store.at(i)->header().toHex());
        return list;
    }

    SimulatorTransport *bus; // owned by the viewer
    KeeperProc store;
    ViewerUsb viewer;
    QSignalSpy ends{&viewer, &ViewerUsb::readEnd};
    QSignalSpy added{&viewer, &ViewerUsb::addedNewProc};
    QSignalSpy messages{&viewer, &ViewerUsb::sendMes};
    QSignalSpy presence{&viewer, &ViewerUsb::activateUsbButton};
};

#endif // READERRIG_H
