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
inline QByteArray header(const HeaderFields &s = HeaderFields()) {
    char h[ProcessP::HeaderSize] = {};
    const quint8 start[] = {s.second, s.minute, s.hour, s.day, s.month, s.year};
    std::memcpy(h, start, sizeof start);
    const quint32 words[] = {s.mass, s.grade, s.supplier, s.duration, s.period};
    for (int i = 0; i < 5; ++i)
        putU32(h, 12 + 4 * i, words[i]);
    h[36] = char(s.flags);
    h[38] = char(s.hitPercent);
    const float scales[] = {s.volumeScale, s.temperatureScale, s.cementTemperatureScale,
                            s.resistanceScale};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<float>(scales[i], h + 40 + 4 * i);
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
