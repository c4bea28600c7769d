#ifndef TESTRECORDS_H
#define TESTRECORDS_H

// Small builders of raw instrument bytes for tests.

#include "records/processp.h"

#include <QByteArray>
#include <QtEndian>
#include <cstring>

namespace testrecords {

struct HeaderFields {
    quint8 second = 0, minute = 30, hour = 10, day = 15, month = 6, year = 26;
    quint32 mass = 400, grade = 4, supplier = 0, duration = 86400, period = 60;
    quint8 flags = 3, hitPercent = 100;
    float volumeScale = 0.01f, temperatureScale = 0.1f, cementTemperatureScale = 0.1f,
          resistanceScale = 1.0f;
    qint32 volumeOffset = 0;
};

inline void putU32(char *b, int off, quint32 v) {
    qToLittleEndian<quint32>(v, b + off);
}
inline void putF32(char *b, int off, float v) {
    qToLittleEndian<float>(v, b + off);
}

inline QByteArray header(const HeaderFields &s = HeaderFields()) {
    char h[ProcessP::HeaderSize] = {};
    h[0] = char(s.second);
    h[1] = char(s.minute);
    h[2] = char(s.hour);
    h[3] = char(s.day);
    h[4] = char(s.month);
    h[5] = char(s.year);
    putU32(h, 12, s.mass);
    putU32(h, 16, s.grade);
    putU32(h, 20, s.supplier);
    putU32(h, 24, s.duration);
    putU32(h, 28, s.period);
    h[36] = char(s.flags);
    h[38] = char(s.hitPercent);
    putF32(h, 40, s.volumeScale);
    putF32(h, 44, s.temperatureScale);
    putF32(h, 48, s.cementTemperatureScale);
    putF32(h, 52, s.resistanceScale);
    putU32(h, 56, quint32(s.volumeOffset));
    return QByteArray(h, ProcessP::HeaderSize);
}

// A zeroed sample block of the kind's full size.
inline QByteArray samples(quint8 kind) {
    return QByteArray(ProcessP::sampleBytes(kind), '\0');
}

inline void setCount(QByteArray &block, quint8 kind, int channel, int i, quint16 value) {
    const int at = 2 * (channel * ProcessP::channelLength(kind) + i);
    qToLittleEndian<quint16>(value, block.data() + at);
}

} // namespace testrecords

#endif // TESTRECORDS_H
