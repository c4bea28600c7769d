#ifndef SIMULATEDINSTRUMENT_H
#define SIMULATEDINSTRUMENT_H

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

// One test as the instrument stores it: the 68-byte header, the kind of the
// instrument that recorded it and its sample bytes.
struct InstrumentTest {
    QByteArray header;
    quint8 kind = 1;
    QByteArray samples;
};

// The firmware of one instrument of either generation, at the level of the
// bytes on its two bulk endpoints: it takes whole commands from the OUT
// endpoint and answers with replies that the host reads from the IN endpoint
// in 64-byte packets. A new command drops whatever of the previous reply the
// host left unread. Not thread-safe: the transport serialises the calls.
class SimulatedInstrument {
public:
    enum class Generation { Older, Newer };
    enum class Access { Granted, Denied, ReadOnly };

    struct Fault {
        enum Type { FailWrite, ShortWrite, FailReply, ShortReply, FailPacket, ShortPacket };
        Type type = FailWrite;
        quint32 command = 0;
        // Which one: for the test commands (older 4 and 5, newer 8 and 9)
        // the test's position on the instrument, for the others the n-th
        // time since the device was opened; -1 for every one.
        int which = -1;
        int length = 0; // ShortReply: bytes left
        int test = 0;   // FailPacket, ShortPacket
        int packet = 0;
    };

    struct Setup {
        Generation generation = Generation::Newer;
        QByteArray model = "SETROVIA-DEV-02.10";
        QByteArray ident = "SETROVIA-DEV-01.03";
        quint32 version = 0x00010001;
        // Identification length announced by the older instrument; negative:
        // the true length of its identification reply.
        qint64 identLength = -1;
        QVector<InstrumentTest> tests;
        QVector<Fault> faults;
        int unplugAfterTest = -1;
        Access access = Access::Granted;
    };

    // Transfer results, as the library reports them.
    struct Result {
        int value = 0;
        QString error;
    };

    explicit SimulatedInstrument(const Setup &setup);

    const Setup &setup() const { return setup_; }
    quint16 productId() const;
    // Kind of the tests this instrument delivers: what its identification or
    // version word tells the reader.
    quint8 readKind() const;
    static quint8 kindFor(const Setup &setup);
    bool plugged() const { return plugged_; }
    void setPlugged(bool plugged) { plugged_ = plugged; }

    void opened();
    Result write(const char *data, int size);
    Result read(char *data, int size);

    // The 72-byte header the older instrument sends for a 68-byte header.
    static QByteArray oldHeader(const QByteArray &header);

private:
    void answer(quint32 code, const char *data, int size);
    void queueReply(const QByteArray &reply, int test = -1);
    void queueBlock(int test);
    const Fault *findFault(Fault::Type type, quint32 command, int which) const;
    const Fault *packetFault(Fault::Type type, int packet) const;
    QByteArray headerOf(int test) const;

    Setup setup_;
    bool plugged_ = true;
    // Older instrument: the next test to list and the last one listed.
    int nextTest_ = 0;
    int currentTest_ = -1;
    QVector<int> commandCounts_;
    // The reply the host has not read yet.
    QByteArray pending_;
    int pendingAt_ = 0;
    int pendingTest_ = -1;
};

#endif // SIMULATEDINSTRUMENT_H
