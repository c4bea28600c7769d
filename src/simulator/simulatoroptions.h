#ifndef SIMULATOROPTIONS_H
#define SIMULATOROPTIONS_H

#include "simulator/simulatedinstrument.h"

#include <QStringList>

// The simulated instrument described by a ';'-separated list of key=value
// (the SETROVIA_SIMULATOR variable); the README lists the keys. A key that
// cannot be used is reported in errors and otherwise ignored.
class SimulatorOptions {
public:
    static SimulatorOptions parse(const QString &text);

    SimulatedInstrument::Setup setup;
    int latencyUs = 0;
    int tests = 5;
    quint32 seed = 1;
    QString project;
    // Whether the generation, model or version was given: without them a
    // project's tests choose the instrument that recorded them.
    bool instrumentGiven = false;
    // "plugged=no": the instrument is on the bus's list but absent, as if
    // unplugged before the program looked.
    bool plugged = true;
    QStringList errors;

private:
    bool apply(const QString &key, const QString &value);
};

#endif // SIMULATOROPTIONS_H
