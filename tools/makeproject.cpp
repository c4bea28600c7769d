// Writes a demonstration project with one or two tests of every instrument
// kind: contraction curves that start after a short delay and level off,
// room temperature near 20 degrees, the heat peak of the cement and its
// rising resistance. The output is the same on every run.
//
//     makeproject [output.vtl]      (default: demo-instrument.vtl)
//     makeproject --large out.vtl   the largest project (255 tests), as the benchmarks use

#include "largeproject.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"

#include <QCoreApplication>
#include <QtEndian>
#include <cmath>
#include <cstdio>

namespace {

struct Test {
    quint8 kind;
    int year, month, day, hour, minute, second;
    quint32 duration, period, mass, grade, supplier;
    quint8 flags;
    double volumeScale;     // ml per count
    double contractionMl;   // where the contraction levels off
    double delayMin;        // before the paste starts to contract
    double riseHours;       // time constant of the contraction
    double heatPeakHour;    // hour of the cement's heat peak
    double finalResistance; // kOhm
    const char *name;
    const char *note;
};

const double TemperatureScale = 0.0625; // degrees per count
const double ResistanceScale = 0.5;     // ohm per count

// Deterministic noise in [-1, 1].
class Noise {
public:
    double next() {
        state_ = state_ * 1103515245u + 12345u;
        return double((state_ >> 8) & 0xffff) / 32767.5 - 1.0;
    }

private:
    quint32 state_ = 20250311u;
};

void put16(QByteArray &block, int at, qint32 value) {
    qToLittleEndian<quint16>(quint16(value), block.data() + 2 * at);
}

QByteArray makeSamples(const Test &t, Noise &noise) {
    const int length = ProcessP::channelLength(t.kind);
    const bool fourChannels = ProcessP::channelCount(t.kind) == 4;
    QByteArray block(ProcessP::sampleBytes(t.kind), '\0');
    const quint32 n = qMin<quint32>(t.duration / t.period, quint32(length));
    for (quint32 i = 0; i < n; ++i) {
        const double hours = double(i) * t.period / 3600.0;
        const double since = hours - t.delayMin / 60.0;
        const double volume =
            since > 0 ? t.contractionMl * (1.0 - std::exp(-since / t.riseHours)) : 0.0;
        put16(block, int(i), qint32(std::lround(volume / t.volumeScale + 0.6 * noise.next())));
        const double room = 20.2 + 0.5 * std::sin(2 * M_PI * (hours - 6.0) / 24.0);
        put16(block, length + int(i),
              qint32(std::lround((room + 0.05 * noise.next()) / TemperatureScale)));
        if (!fourChannels)
            continue;
        const double peak = (hours - t.heatPeakHour) / 4.0;
        const double cement = room + 0.8 + 6.5 * std::exp(-peak * peak);
        put16(block, 2 * length + int(i),
              qint32(std::lround((cement + 0.05 * noise.next()) / TemperatureScale)));
        const double kOhm = 0.35 + t.finalResistance * (1.0 - std::exp(-hours / 16.0));
        put16(block, 3 * length + int(i),
              qint32(std::lround((kOhm * 1000.0 + 5.0 * noise.next()) / ResistanceScale)));
    }
    return block;
}

// The header as the current instrument sends it (68 bytes).
QByteArray newHeader(const Test &t) {
    testrecords::HeaderFields h;
    h.second = quint8(t.second);
    h.minute = quint8(t.minute);
    h.hour = quint8(t.hour);
    h.day = quint8(t.day);
    h.month = quint8(t.month);
    h.year = quint8(t.year - 2000);
    h.mass = t.mass;
    h.grade = t.grade;
    h.supplier = t.supplier;
    h.duration = t.duration;
    h.period = t.period;
    h.flags = t.flags;
    h.volumeScale = float(t.volumeScale);
    h.temperatureScale = h.cementTemperatureScale = float(TemperatureScale);
    h.resistanceScale = float(ResistanceScale);
    return testrecords::header(h);
}

// The older instrument's 72-byte header with its double-precision scales.
QByteArray oldHeader(const Test &t) {
    const QByteArray current = newHeader(t);
    char h[ProcessP::OldHeaderSize] = {};
    std::copy(current.constData(), current.constData() + 32, h);
    const double scales[4] = {t.volumeScale, TemperatureScale, TemperatureScale, ResistanceScale};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<double>(scales[i], h + 32 + 8 * i);
    return QByteArray(h, ProcessP::OldHeaderSize);
}

const Test Tests[] = {
    {1,
     2025,
     3,
     11,
     9,
     42,
     15,
     86400,
     60,
     400,
     4,
     2,
     0x01,
     0.002,
     3.5,
     18,
     8.0,
     0,
     0,
     "Партия 17",
     "ЦЕМ I 42,5Н, партия 17. Водоцементное отношение 0,40. Проба отобрана со склада №2."},
    {1,
     2025,
     3,
     12,
     10,
     5,
     0,
     21600,
     30,
     500,
     3,
     4,
     0x01,
     0.002,
     1.6,
     12,
     1.2,
     0,
     0,
     "Замедлитель",
     "Проба с добавкой замедлителя схватывания: ускоренная контракция в первый час."},
    {2,
     2025,
     3,
     14,
     8,
     30,
     0,
     172800,
     120,
     400,
     4,
     2,
     0x00,
     0.002,
     4.0,
     25,
     9.0,
     9.0,
     9.5,
     "Партия 18, четыре канала",
     "Температура цемента и сопротивление записаны."},
    {0,
     2024,
     11,
     5,
     14,
     0,
     0,
     259200,
     60,
     400,
     5,
     1,
     0x03,
     0.0025,
     4.5,
     20,
     10.0,
     0,
     0,
     "Архив 2024",
     "Старый прибор, двухканальная запись за трое суток."},
    {3, 2024, 11,   20,     11,  15, 30,  86400, 60,  450,
     4, 3,    0x03, 0.0025, 3.8, 22, 8.0, 10.5,  7.5, "Архив 2024, четыре канала",
     ""},
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--large") == 0)
        return testrecords::writeLargeProject(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    const QString out =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("demo-instrument.vtl");
    KeeperProc store;
    QStringList names;
    Noise noise;
    for (const Test &t : Tests) {
        const bool older = t.kind == 0 || t.kind == 3;
        const QByteArray header = older ? ProcessP::convertOldHeader(oldHeader(t)) : newHeader(t);
        auto *p = new ProcessP(header, makeSamples(t, noise), t.kind);
        p->setNote(QByteArray(t.note));
        store.add(p);
        names << QString::fromUtf8(t.name);
    }
    const ProjectFile::Result r = ProjectFile::save(
        out, store,
        QStringLiteral("Демонстрационный проект: испытания на приборах обоих поколений. "
                       "Данные синтетические."),
        names);
    if (!r.ok()) {
        std::fprintf(stderr, "makeproject: %s: %s\n", qPrintable(out), qPrintable(r.message));
        return 1;
    }
    std::printf("%s: %d tests\n", qPrintable(out), store.count());
    return 0;
}
