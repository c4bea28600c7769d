#ifndef SAMPLERECORDS_H
#define SAMPLERECORDS_H

// Test records with hand-checked evaluations, built from raw bytes.

#include "testrecords.h"

#include <memory>

namespace samplerecords {

using namespace testrecords;

// Sets channel `channel` to `value` for the samples from..to-1.
inline void fill(QByteArray &block, quint8 kind, int channel, int from, int to, qint16 value) {
    for (int i = from; i < to; ++i)
        setCount(block, kind, channel, i, quint16(value));
}

// Kind 1, 60 s, 0.01 ml: v = 0, 10 from 10, 85 from 70, 140 from 190 (start 10,
// 1.30 ml in three hours); 16.5 °C; 500 g, M-500, supplier 1.7, 25 h, hit 0.90.
inline HeaderFields longTestHeader() {
    HeaderFields s;
    s.mass = 500;
    s.grade = 4;
    s.supplier = 6;
    s.duration = 90000;
    s.period = 60;
    s.flags = 3;
    s.hitPercent = 90;
    return s;
}

inline QByteArray longSamples(qint16 temperature = 165) {
    QByteArray b = samples(1);
    fill(b, 1, 0, 10, 70, 10);
    fill(b, 1, 0, 70, 190, 85);
    fill(b, 1, 0, 190, 2500, 140);
    fill(b, 1, 1, 0, 2500, temperature);
    return b;
}

inline std::unique_ptr<ProcessP> make(const HeaderFields &s,
                                      const QByteArray &block = longSamples(), quint8 kind = 1) {
    return std::make_unique<ProcessP>(header(s), block, kind);
}

} // namespace samplerecords

#endif // SAMPLERECORDS_H
