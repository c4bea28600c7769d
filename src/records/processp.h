#ifndef PROCESSP_H
#define PROCESSP_H

#include <QByteArray>
#include <QDateTime>
#include <QPointF>
#include <QVector>
#include <QtGlobal>
#include <limits>

// One test ("process") recorded by the instrument: the 68-byte header kept
// byte for byte as the instrument sends it, the 16-bit sample buffer (two or
// four channels), the instrument kind, the hardening-duration index and the
// UTF-8 note. A plain class handled by pointer.
//
// Damaged records (period 0, duration / period above the channel length, a
// sample buffer shorter than the kind needs) never make an accessor leave the
// buffer: pointCount() is clamped to the channel length (0 for period 0) and
// the buffer is zero-padded to the full size of its kind at construction.
class ProcessP {
public:
    static constexpr int HeaderSize = 68;
    static constexpr int OldHeaderSize = 72;

    // Header offsets.
    enum Offset {
        OffStartSecond = 0,
        OffStartMinute = 1,
        OffStartHour = 2,
        OffStartDay = 3,
        OffStartMonth = 4,
        OffStartYear = 5,
        OffMass = 12,
        OffGrade = 16,
        OffSupplier = 20,
        OffDuration = 24,
        OffPeriod = 28,
        OffFlags = 36,
        OffHitPercent = 38,
        OffVolumeScale = 40,
        OffTemperatureScale = 44,
        OffCementTemperatureScale = 48,
        OffResistanceScale = 52,
        OffVolumeOffset = 56
    };

    enum Flag { BrakingRecord = 0x01, TemperatureNotObserved = 0x02 };

    // header: 68 bytes (a shorter array is zero-padded); samples: the sample
    // bytes, whose ownership passes to the record; kind: 0..3.
    ProcessP(const QByteArray &header, QByteArray samples, quint8 kind);
    ~ProcessP() = default;
    ProcessP(const ProcessP &) = delete;
    ProcessP &operator=(const ProcessP &) = delete;

    static QByteArray convertOldHeader(const QByteArray &oldHeader);
    static bool sameTest(const char *a, const char *b);
    static bool sameTest(const QByteArray &a, const QByteArray &b);

    // Channel length L and the sample bytes a record of this kind carries
    // (0 for a kind outside 0..3).
    static int channelLength(quint8 kind);
    static int channelCount(quint8 kind);
    static int sampleBytes(quint8 kind);

    const char *rawHeader() const { return header_; }
    QByteArray header() const { return QByteArray(header_, HeaderSize); }
    const QByteArray &samples() const { return samples_; }
    quint8 kind() const { return kind_; }
    quint8 hardeningIndex() const { return hardeningIndex_; }
    QByteArray note() const { return note_; }
    float contraction3h() const { return contraction3h_; }

    quint8 startSecond() const { return u8(OffStartSecond); }
    quint8 startMinute() const { return u8(OffStartMinute); }
    quint8 startHour() const { return u8(OffStartHour); }
    quint8 startDay() const { return u8(OffStartDay); }
    quint8 startMonth() const { return u8(OffStartMonth); }
    quint8 startYear() const { return u8(OffStartYear); }
    quint32 mass() const { return u32(OffMass); }
    quint32 grade() const { return u32(OffGrade); }
    quint32 supplier() const { return u32(OffSupplier); }
    quint32 duration() const { return u32(OffDuration); }
    quint32 period() const { return u32(OffPeriod); }
    quint8 flags() const { return u8(OffFlags); }
    quint8 hitPercent() const { return u8(OffHitPercent); }
    float volumeScale() const { return f32(OffVolumeScale); }
    float temperatureScale() const { return f32(OffTemperatureScale); }
    float cementTemperatureScale() const { return f32(OffCementTemperatureScale); }
    float resistanceScale() const { return f32(OffResistanceScale); }
    qint32 volumeOffset() const { return qint32(u32(OffVolumeOffset)); }

    bool brakingRecord() const { return flags() & BrakingRecord; }
    bool temperatureNotObserved() const { return flags() & TemperatureNotObserved; }

    // Invalid when the header names no real date or time.
    QDateTime startDateTime() const;

    void setNote(const QByteArray &note) { note_ = note; }
    void setMass(quint32 mass) { setU32(OffMass, mass); }
    void setGrade(quint32 grade) { setU32(OffGrade, grade); }
    void setSupplier(quint32 supplier) { setU32(OffSupplier, supplier); }
    void setHardeningIndex(int index) { hardeningIndex_ = quint8(index & 0xff); }
    void setBrakingRecord(bool on) { setFlag(BrakingRecord, on); }
    void setTemperatureNotObserved(bool on) { setFlag(TemperatureNotObserved, on); }
    void setHitCoefficient(double value);

    // The strength the laboratory's standard test found, MPa, and the
    // hardening index it was measured at: it counts only while the test's
    // own index agrees. NaN when none is known; a value that is not a
    // positive finite number clears it.
    double measuredStrength() const { return measured_; }
    quint8 measuredIndex() const { return measuredIndex_; }
    bool hasMeasuredStrength() const { return measured_ == measured_; }
    void setMeasuredStrength(double mpa, quint8 hardeningIndex);

    // Number of data points per channel actually used: duration / period,
    // clamped to the channel length; 0 for period 0.
    quint32 pointCount() const;
    // Raw counts; i must be below channelLength(kind()), otherwise 0.
    qint16 volumeCount(int i) const { return qint16(count(0, i)); }
    qint16 temperatureCount(int i) const { return qint16(count(1, i)); }
    qint16 cementTemperatureCount(int i) const { return qint16(count(2, i)); }
    quint16 resistanceCount(int i) const { return count(3, i); }
    // Baseline of the volume channel: 0 for kinds 1 and 2, v[0] + volumeOffset otherwise.
    qint32 volumeBaseline() const;

    quint16 startIndex() const;

    // Curve points: exactly pointCount() points, x = point index.
    QVector<QPointF> volumeSamples(int variant) const;
    QVector<QPointF> temperatureSamples(bool cement) const;
    QVector<QPointF> resistanceSamples() const;

private:
    quint8 u8(int off) const { return quint8(header_[off]); }
    quint32 u32(int off) const;
    float f32(int off) const;
    void setU32(int off, quint32 v);
    void setFlag(quint8 bit, bool on);
    quint16 count(int channel, int i) const;
    float computeContraction3h() const;

    char header_[HeaderSize];
    QByteArray samples_;
    quint8 kind_;
    quint8 hardeningIndex_ = 2;
    QByteArray note_;
    float contraction3h_ = 0.0f;
    double measured_ = std::numeric_limits<double>::quiet_NaN();
    quint8 measuredIndex_ = 0;
};

#endif // PROCESSP_H
