#ifndef CURVERECORD_H
#define CURVERECORD_H

// A test that looks like a real one: a start delay, then a smooth contraction.

#include "testrecords.h"

#include <cmath>

namespace testrecords {

// Points of 20 s, the kind's full channel; `shift` makes two records differ.
inline ProcessP *curveRecord(quint8 kind, quint8 second = 0, double shift = 0.0) {
    const int n = ProcessP::channelLength(kind);
    HeaderFields s;
    s.second = second;
    s.period = 20;
    s.duration = quint32(n) * s.period;
    s.mass = 400;
    s.volumeScale = 0.01f;            // ml per count
    s.temperatureScale = 0.1f;        // degrees per count
    s.cementTemperatureScale = 0.05f; // degrees per count
    s.resistanceScale = 10.0f;        // ohms per count
    s.volumeOffset = 0;
    QByteArray block = samples(kind);
    const bool baseline = kind == 0 || kind == 3;
    const double rawZero = baseline ? 250.0 : 0.0;
    for (int i = 0; i < n; ++i) {
        const double hours = i * double(s.period) / 3600.0;
        const double delay = 0.75 + shift;
        const double v =
            hours < delay ? 0.0 : (3.2 + shift) * (1.0 - std::exp(-(hours - delay) / 5.0));
        setCount(block, kind, 0, i, quint16(qint16(std::lround(rawZero + v / 0.01))));
        const double ambient = 20.0 + 0.4 * std::sin(hours / 3.0) + 0.1 * std::sin(hours * 5.0);
        setCount(block, kind, 1, i, quint16(qint16(std::lround(ambient / 0.1))));
        if (ProcessP::channelCount(kind) == 4) {
            const double heat = 6.0 * std::exp(-std::pow((hours - 10.0 - shift) / 4.0, 2));
            setCount(block, kind, 2, i, quint16(qint16(std::lround((20.5 + heat) / 0.05))));
            const double kiloOhm = 0.8 + 7.0 / (1.0 + std::exp(-(hours - 8.0) / 2.5));
            setCount(block, kind, 3, i, quint16(std::lround(kiloOhm * 1000.0 / 10.0)));
        }
    }
    return new ProcessP(header(s), block, kind);
}

} // namespace testrecords

#endif // CURVERECORD_H
