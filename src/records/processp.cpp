#include "processp.h"

#include <QtEndian>
#include <cstring>

ProcessP::ProcessP(const QByteArray &header, QByteArray samples, quint8 kind)
    : samples_(std::move(samples)), kind_(kind) {
    std::memset(header_, 0, HeaderSize);
    std::memcpy(header_, header.constData(), size_t(qMin(int(header.size()), HeaderSize)));
    // Keep every accessor inside the buffer whatever the builder handed over.
    const int needed = sampleBytes(kind_);
    if (samples_.size() < needed)
        samples_.append(QByteArray(needed - samples_.size(), '\0'));
    if (kind_ == 0)
        setU32(OffVolumeOffset, 0);
    contraction3h_ = computeContraction3h();
}

QByteArray ProcessP::convertOldHeader(const QByteArray &oldHeader) {
    QByteArray old = oldHeader.left(OldHeaderSize);
    if (old.size() < OldHeaderSize)
        old.append(QByteArray(OldHeaderSize - old.size(), '\0'));
    const char *o = old.constData();
    char n[HeaderSize] = {};
    std::memcpy(n, o, 8);
    std::memcpy(n + 8, o + 8, 24);
    for (int i = 0; i < 4; ++i) {
        const double wide = qFromLittleEndian<double>(o + 32 + 8 * i);
        qToLittleEndian<float>(float(wide), n + 40 + 4 * i);
    }
    std::memcpy(n + 56, o + 64, 4);
    std::memcpy(n + 60, o + 68, 4);
    n[OffFlags] = char(BrakingRecord | TemperatureNotObserved);
    return QByteArray(n, HeaderSize);
}

bool ProcessP::sameTest(const char *a, const char *b) {
    return std::memcmp(a, b, 6) == 0 && std::memcmp(a + OffDuration, b + OffDuration, 8) == 0;
}

bool ProcessP::sameTest(const QByteArray &a, const QByteArray &b) {
    if (a.size() < HeaderSize || b.size() < HeaderSize)
        return false;
    return sameTest(a.constData(), b.constData());
}

int ProcessP::channelLength(quint8 kind) {
    switch (kind) {
    case 0:
    case 3:
        return 4320;
    case 1:
    case 2:
        return 2500;
    default:
        return 0;
    }
}

int ProcessP::channelCount(quint8 kind) {
    switch (kind) {
    case 0:
    case 1:
        return 2;
    case 2:
    case 3:
        return 4;
    default:
        return 0;
    }
}

int ProcessP::sampleBytes(quint8 kind) {
    return 2 * channelLength(kind) * channelCount(kind);
}

QDateTime ProcessP::startDateTime() const {
    const QTime time(startHour(), startMinute(), startSecond());
    // The toolkit would take an impossible time for midnight.
    if (!time.isValid())
        return QDateTime();
    return QDateTime(QDate(2000 + startYear(), startMonth(), startDay()), time);
}

void ProcessP::setHitCoefficient(double value) {
    const double t = 100.0 * value;
    if (t > 200.0 || t < 20.0 || t != t)
        header_[OffHitPercent] = char(100);
    else
        header_[OffHitPercent] = char(quint8(qRound(t)));
}

void ProcessP::setMeasuredStrength(double mpa, quint8 hardeningIndex) {
    const bool valid = mpa > 0.0 && mpa <= std::numeric_limits<double>::max();
    measured_ = valid ? mpa : std::numeric_limits<double>::quiet_NaN();
    measuredIndex_ = valid ? hardeningIndex : 0;
}

quint32 ProcessP::pointCount() const {
    const quint32 p = period();
    if (p == 0)
        return 0;
    return qMin<quint32>(duration() / p, quint32(channelLength(kind_)));
}

qint32 ProcessP::volumeBaseline() const {
    if (kind_ == 1 || kind_ == 2)
        return 0;
    return qint32(quint32(volumeCount(0)) + quint32(volumeOffset()));
}

quint16 ProcessP::startIndex() const {
    const quint32 n = pointCount();
    if (n == 0)
        return 0;
    const qint32 b = volumeBaseline();
    const double scale = volumeScale();
    for (quint32 i = 0; i < n; ++i) {
        const qint32 d = qint32(quint32(volumeCount(int(i))) - quint32(b));
        if (d * scale > 0.05)
            return quint16(i);
    }
    return quint16(n - 1);
}

float ProcessP::computeContraction3h() const {
    const quint32 n = pointCount();
    if (n == 0)
        return 0.0f;
    const quint32 k3 = 10800 / period();
    const quint32 s = startIndex();
    const quint32 e = (n > s + k3) ? s + k3 : n - 1;
    const qint32 raw = qint32(quint32(volumeCount(int(e))) - quint32(volumeBaseline()) -
                              quint32(volumeCount(int(s))));
    return float(raw);
}

QVector<QPointF> ProcessP::volumeSamples(int variant) const {
    const quint32 n = pointCount();
    QVector<QPointF> points(static_cast<int>(n));
    const qint32 b = n ? volumeBaseline() : 0;
    const float f = variant == 1 ? float(1000.0 / double(mass())) : 1.0f;
    const float scale = volumeScale();
    QPointF *out = points.data();
    for (quint32 i = 0; i < n; ++i) {
        const qint32 d = qint32(quint32(volumeCount(int(i))) - quint32(b));
        out[i] = QPointF(i, double(d) * double(scale) * double(f));
    }
    return points;
}

QVector<QPointF> ProcessP::temperatureSamples(bool cement) const {
    const quint32 n = channelCount(kind_) > (cement ? 2 : 1) ? pointCount() : 0;
    QVector<QPointF> points(static_cast<int>(n));
    const double scale = cement ? cementTemperatureScale() : temperatureScale();
    QPointF *out = points.data();
    for (quint32 i = 0; i < n; ++i) {
        const qint16 c = cement ? cementTemperatureCount(int(i)) : temperatureCount(int(i));
        out[i] = QPointF(i, double(c) * scale);
    }
    return points;
}

QVector<QPointF> ProcessP::resistanceSamples() const {
    const quint32 n = channelCount(kind_) > 3 ? pointCount() : 0;
    QVector<QPointF> points(static_cast<int>(n));
    const double scale = resistanceScale();
    QPointF *out = points.data();
    for (quint32 i = 0; i < n; ++i)
        out[i] = QPointF(i, double(resistanceCount(int(i))) * scale / 1000.0);
    return points;
}

quint32 ProcessP::u32(int off) const {
    return qFromLittleEndian<quint32>(header_ + off);
}

float ProcessP::f32(int off) const {
    return qFromLittleEndian<float>(header_ + off);
}

void ProcessP::setU32(int off, quint32 v) {
    qToLittleEndian<quint32>(v, header_ + off);
}

void ProcessP::setFlag(quint8 bit, bool on) {
    quint8 f = flags();
    f = on ? quint8(f | bit) : quint8(f & ~bit);
    header_[OffFlags] = char(f);
}

quint16 ProcessP::count(int channel, int i) const {
    const int l = channelLength(kind_);
    if (i < 0 || i >= l || channel >= channelCount(kind_))
        return 0;
    const int at = 2 * (channel * l + i);
    return qFromLittleEndian<quint16>(samples_.constData() + at);
}
