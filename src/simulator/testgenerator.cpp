#include "testgenerator.h"

#include "records/processp.h"

#include <QDate>
#include <QtEndian>
#include <cmath>
#include <random>

namespace {
// Uniform in [lo, hi), from the raw engine output so that the numbers do not
// depend on the standard library's distributions.
class Random {
public:
    Random(quint32 seed, int index, quint8 kind) {
        std::seed_seq seq{seed, quint32(index), quint32(kind), 0x5e7u};
        engine_.seed(seq);
    }
    double uniform(double lo, double hi) { return lo + (hi - lo) * (engine_() / 4294967296.0); }
    int below(int n) { return int(engine_() % quint32(n)); }

private:
    std::mt19937 engine_;
};

void putU32(QByteArray &b, int offset, quint32 v) {
    qToLittleEndian<quint32>(v, b.data() + offset);
}

void putF32(QByteArray &b, int offset, float v) {
    qToLittleEndian<float>(v, b.data() + offset);
}

void putSample(QByteArray &b, quint8 kind, int channel, int i, double value) {
    const double clamped =
        channel == 3 ? qBound(0.0, value, 65535.0) : qBound(-32768.0, value, 32767.0);
    qToLittleEndian<quint16>(quint16(qint32(std::lround(clamped))),
                             b.data() + 2 * (channel * ProcessP::channelLength(kind) + i));
}

const float VolumeScale = 0.002f;     // ml per count
const float TemperatureScale = 0.01f; // °C per count
const float ResistanceScale = 0.1f;   // ohm per count
} // namespace

InstrumentTest TestGenerator::test(quint8 kind, int index, quint32 seed) {
    Random rnd(seed, index, kind);
    const bool older = kind == 0 || kind == 3;
    const bool fourChannels = kind == 2 || kind == 3;

    // One test a day, started some time in the morning.
    const QDate day = QDate(2025, 1, 6).addDays(index);
    const int startMinute = 8 * 60 + rnd.below(180);
    const quint32 period = older ? 20 : 60;
    static const int hours[] = {6, 8, 12, 24};
    const quint32 duration = quint32(hours[rnd.below(4)]) * 3600;
    const int points = int(duration / period);
    const quint32 mass = 300 + 50 * quint32(rnd.below(5));

    QByteArray header(ProcessP::HeaderSize, '\0');
    header[ProcessP::OffStartSecond] = char(rnd.below(60));
    header[ProcessP::OffStartMinute] = char(startMinute % 60);
    header[ProcessP::OffStartHour] = char(startMinute / 60);
    header[ProcessP::OffStartDay] = char(day.day());
    header[ProcessP::OffStartMonth] = char(day.month());
    header[ProcessP::OffStartYear] = char(day.year() - 2000);
    putU32(header, ProcessP::OffMass, mass);
    putU32(header, ProcessP::OffGrade, quint32(3 + rnd.below(3)));
    putU32(header, ProcessP::OffSupplier, quint32(rnd.below(7)));
    putU32(header, ProcessP::OffDuration, duration);
    putU32(header, ProcessP::OffPeriod, period);
    // The older instrument knows neither flags nor a hit coefficient: its
    // converted header always says braking record and temperature not observed.
    header[ProcessP::OffFlags] = char(older ? 3 : rnd.below(4));
    header[ProcessP::OffHitPercent] = char(older ? 0 : 100);
    putF32(header, ProcessP::OffVolumeScale, VolumeScale);
    putF32(header, ProcessP::OffTemperatureScale, TemperatureScale);
    putF32(header, ProcessP::OffCementTemperatureScale, fourChannels ? TemperatureScale : 0.0f);
    putF32(header, ProcessP::OffResistanceScale, fourChannels ? ResistanceScale : 0.0f);
    putU32(header, 60, 1000 + seed % 9000); // instrument serial number

    // Contraction: still for the start delay, then a saturating curve whose
    // three-hour part is 2.4..4.6 ml per kilogram of cement: activities of 33
    // to 66 MPa, as ordinary cements show.
    const double delay = rnd.uniform(600, 2400);
    const double tau = rnd.uniform(4, 8) * 3600;
    const double perKg3h = rnd.uniform(2.4, 4.6);
    const double total = perKg3h * mass / 1000.0 / (1.0 - std::exp(-10800.0 / tau));
    // Kind 3 stores a small zero error of the volume sensor in volumeOffset.
    const int zeroError = kind == 3 ? rnd.below(5) - 2 : 0;
    putU32(header, ProcessP::OffVolumeOffset, quint32(-zeroError));

    const double room = rnd.uniform(19.0, 21.0);
    const double heat = rnd.uniform(2.0, 5.0);
    const double heatPeak = rnd.uniform(8, 12) * 3600;
    const double r0 = rnd.uniform(600, 1000);
    const double r1 = rnd.uniform(3000, 5500);

    QByteArray samples(ProcessP::sampleBytes(kind), '\0');
    for (int i = 0; i < points; ++i) {
        const double t = double(i) * period;
        const double since = qMax(0.0, t - delay);
        const double ml = total * (1.0 - std::exp(-since / tau));
        const double noise = rnd.uniform(-0.5, 0.5);
        putSample(samples, kind, 0, i, (i == 0 ? 0 : ml / VolumeScale + noise) + zeroError);
        const double ambient =
            room + 0.3 * std::sin(t / 86400.0 * 2 * M_PI) + rnd.uniform(-0.05, 0.05);
        putSample(samples, kind, 1, i, ambient / TemperatureScale);
        if (fourChannels) {
            const double warming = heat * std::exp(-std::pow((t - heatPeak) / (0.4 * heatPeak), 2));
            putSample(samples, kind, 2, i, (room + warming) / TemperatureScale);
            const double ohm = r0 + (r1 - r0) * (1.0 - std::exp(-t / (10 * 3600.0)));
            putSample(samples, kind, 3, i, ohm / ResistanceScale);
        }
    }
    return {header, kind, samples};
}

QVector<InstrumentTest> TestGenerator::tests(quint8 kind, int count, quint32 seed) {
    QVector<InstrumentTest> list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list.append(test(kind, i, seed));
    return list;
}
