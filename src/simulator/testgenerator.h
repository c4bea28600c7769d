#ifndef TESTGENERATOR_H
#define TESTGENERATOR_H

#include "simulator/simulatedinstrument.h"

// Realistic tests of each instrument kind, the same for the same seed: a
// setting paste that starts to contract after a delay and follows a smooth
// saturating curve, ambient temperature near 20 °C, and on the four-channel
// kinds the cement warming with the heat of hydration and a resistance that
// rises as the paste hardens. Tests of the older kinds (0 and 3) carry the
// header that the older instrument's 72-byte header converts to, so a test
// read back from a simulated instrument equals the generated one byte for
// byte.
class TestGenerator {
public:
    static InstrumentTest test(quint8 kind, int index, quint32 seed);
    static QVector<InstrumentTest> tests(quint8 kind, int count, quint32 seed);
};

#endif // TESTGENERATOR_H
