#ifndef TRANSPORTFACTORY_H
#define TRANSPORTFACTORY_H

#include "device/usbtransport.h"
#include "simulator/simulatedinstrument.h"
#include "simulator/simulatortransport.h"

#include <QStringList>
#include <memory>

// Name of the environment variable that replaces the instrument by a
// simulated one.
extern const char SimulatorVariable[];

// The link the application reads the instrument through: the simulated
// instrument when SETROVIA_SIMULATOR is set, libusb otherwise. note receives
// a line for the message log when the simulator is chosen (what it holds and
// any key it ignored), and stays empty for libusb.
std::unique_ptr<UsbTransport> createTransport(QString *note);

// A bus with the one simulated instrument the options describe.
std::unique_ptr<SimulatorTransport> createSimulator(const QString &options, QString *note);

// The tests the simulated instrument holds for "project=PATH": the tests of
// that project file, in file order; none (and error set) when it cannot be read.
QVector<InstrumentTest> projectTests(const QString &path, QString *error);

// Makes the setup the instrument that records tests of the kind.
void becomeRecorderOf(quint8 kind, SimulatedInstrument::Setup &setup);
// Drops the tests of the setup that its instrument does not record; returns
// a log line for each, saying which and why.
QStringList keepOwnKind(SimulatedInstrument::Setup &setup, const QString &project);

#endif // TRANSPORTFACTORY_H
