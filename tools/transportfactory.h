#ifndef TRANSPORTFACTORY_H
#define TRANSPORTFACTORY_H

#include "device/usbtransport.h"
#include "simulatedinstrument.h"
#include "simulatortransport.h"

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
// that project file, in file order. This is the one place that reads project
// files for the simulator; until it is wired to the project reader it
// returns none and sets error.
QVector<InstrumentTest> projectTests(const QString &path, QString *error);

#endif // TRANSPORTFACTORY_H
