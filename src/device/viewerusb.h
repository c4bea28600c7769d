#ifndef VIEWERUSB_H
#define VIEWERUSB_H

#include "device/usbtransport.h"

#include <QAtomicInt>
#include <QMutex>
#include <QThread>
#include <atomic>
#include <memory>

class KeeperProc;
class ProcessP;

// The instrument reader. It lives in its own thread (it moves itself there),
// so its slots run one at a time in that thread; results leave it only as
// queued signals. It talks to the instrument through a UsbTransport: the
// libusb 0.1 library unless another transport is installed.
class ViewerUsb : public QThread {
    Q_OBJECT
public:
    ViewerUsb();
    explicit ViewerUsb(std::unique_ptr<UsbTransport> transport);
    ~ViewerUsb() override;

    static constexpr quint16 VendorId = 0x03EB;
    static constexpr quint16 OlderProductId = 0x0010;
    static constexpr quint16 NewerProductId = 0x0011;
    static constexpr int Configuration = 1;
    static constexpr int Interface = 0;
    static constexpr int OutEndpoint = 0x02;
    static constexpr int InEndpoint = 0x81;
    static constexpr int TimeoutMs = 1000;
    static constexpr int PacketSize = 64;
    static constexpr int ReplyBufferSize = 256;
    // What the newer instrument of the four-channel kind answers to its
    // identification request, zero byte included.
    static constexpr char ModelString[] = "SETROVIA-DEV-02.10";
    static constexpr int ModelStringBytes = 19;

    void setKeeper(KeeperProc *keeper);
    // Installs the link to the instrument (null: libusb). Call it before the
    // thread starts, or while no read and no presence check runs.
    void setTransport(std::unique_ptr<UsbTransport> transport);
    // Asks a read under way to stop at its next transfer (window closing).
    // The read still ends with one readEnd().
    void requestStop();
    // Stops the thread's event loop and waits for it; safe to call twice.
    void shutdown();
    // The diagnostic lines on standard output ("Open dev", "Read cell 3", the
    // destructor's line), on by default; the command-line tool turns them off
    // for the whole process, its output being its own.
    // Returns the previous setting.
    static bool setDiagnostics(bool on);

    // How the last readDevices() went, valid once its readEnd() has come:
    // every stored test was read (or was already held), no instrument was
    // present, or something failed on the way (opening, a command, a header,
    // a sample block, a stop). A failed read still delivered the tests it
    // read in full.
    enum class ReadResult { Complete, NoInstrument, Failed };
    ReadResult lastRead() const { return lastRead_.load(); }

    // What the last read brought, for the one who tells the user; valid once
    // its readEnd() has come.
    struct ReadReport {
        ReadResult result = ReadResult::Complete;
        qint64 announced = -1;   // tests the instrument holds; -1: it never said
        int added = 0;           // new tests given to the store
        int held = 0;            // tests the project held already
        int skipped = 0;         // read into the previous project before it filled up
        bool permission = false; // the instrument refused us access
        bool gone = false;       // the instrument disappeared during the read
        bool full = false;       // the store reached the project's limit
        // Tests the instrument holds that this read did not bring.
        qint64 notRead() const { return qMax<qint64>(0, announced - added - held - skipped); }
    };
    ReadReport lastReport() const;

public slots:
    void readDevices();
    void checkPresentDev();

signals:
    void activateUsbButton(bool present);
    void readEnd();
    void sendMes(const QString &text);
    void addedNewProc(ProcessP *proc);
    // test: 1..tests, the test being read; packet: transfers of its sample
    // block done so far, out of packets. Sent when a test starts, every few
    // packets and after the last one.
    void readProgress(int test, int tests, int packet, int packets);

protected:
    void run() override;

private:
    bool openDevice();
    void closeDevice();
    static QString accessHint(const QString &error);
    // The two sequences run between opening and closing the device.
    void readNewerDevice();
    void readCell(int index);
    bool readCellData(int index, char *block, quint8 kind);
    void readOldDevice();
    // skip: listed only (read into the previous project).
    bool readOldProcess(quint8 kind, int index, bool skip);
    bool sendCommand(quint32 code, int replyLength);
    bool readPackets(char *block, int size);
    bool readExactly(char *data, int size, QString *failure);
    void offerRecord(const QByteArray &header, QByteArray block, quint8 kind);
    void logWriteFailure(quint32 code);
    void logReplyFailure(quint32 code, const QString &failure);
    void reportEnd();
    void startTest(int test);
    void failed() { lastRead_.store(ReadResult::Failed); }
    // The store holds as many tests as a project can: the read stops, and
    // the next one continues where this one stopped.
    bool storeFull(int index);
    // Where this read starts: after the tests read before the project filled up.
    int resumeFrom(int tests);
    // Ends a read whose instrument disappeared: no further command is sent.
    void noteResult(int result);

    int writeCommand(quint32 code);
    int writeIndexedCommand(quint32 code, quint16 index);
    int bulkOut(const char *data, int size);
    int bulkIn(char *data, int size);
    QString errorText() const;
    static void printLine(const QByteArray &text);
    // The prefix, the library's error text and an end of line, to standard output.
    void printWithError(const QByteArray &prefix);

    bool present_ = false;
    UsbDeviceRef device_;
    char replyBuffer_[ReplyBufferSize] = {};
    std::unique_ptr<UsbTransport> transport_;
    KeeperProc *keeper_ = nullptr;
    quint8 kind_ = 2;
    QAtomicInt stopRequested_;
    bool stopped_ = false;
    int replyLength_ = 0;
    int tests_ = 0;
    int test_ = 0;
    // Written by the reader thread, read by whoever got readEnd().
    std::atomic<ReadResult> lastRead_{ReadResult::Complete};
    // Of this read: the tests the instrument announced (-1 before it said),
    // those added to the store and those it held already.
    qint64 announced_ = -1;
    int added_ = 0;
    int held_ = 0;
    int skipped_ = 0;
    bool permission_ = false;
    bool gone_ = false;
    bool full_ = false;
    // The first test a read into a full project could not take; the next
    // read starts there. 0: from the first test.
    int resumeAt_ = 0;
    mutable QMutex reportMutex_;
    ReadReport report_;
};

#endif // VIEWERUSB_H
