// The instrument reader against an instrument that answers anything: the
// real ViewerUsb presence check and read sequences, over a transport whose
// every result (open, configuration, writes, reply lengths and bytes,
// failures, unplugging) comes from the input.
//
// Input: one byte of setup, then the script the transport consumes call by
// call. Setup bits: 0 older generation (else newer), 1 a foreign device on
// the bus before the instrument, 2 the store already holds a test, 3 read
// twice with a presence check in between. Script, per call:
//   open, configuration, claim: one byte; open fails for 0 and 1 (mod 16),
//     the other two for 0 (mod 8);
//   write: one byte mod 16: 0 time-out, 1 half written, 2 nothing written,
//     3 unplugged, else complete;
//   read: one byte, low three bits: 0 time-out, 1 short (the next byte, mod
//     the size, is the length, then that many bytes), 2 a run of complete
//     replies filled with the next byte (1 + the high five bits of them),
//     3 stop requested (then as complete), 4 unplugged, else complete (the
//     next `size` bytes, zero once the script ends).
// When the script ends the instrument is gone: every call fails.

#include "device/usbtransport.h"
#include "device/viewerusb.h"
#include "fuzzcheck.h"
#include "records/keeperproc.h"

#include <QtEndian>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

class ScriptedTransport : public UsbTransport {
public:
    ScriptedTransport(const uint8_t *script, size_t size, quint16 productId, bool foreign)
        : script_(script), end_(script + size), productId_(productId), foreign_(foreign) {}

    void setViewer(ViewerUsb *viewer) { viewer_ = viewer; }
    bool isOpen() const { return open_; }
    bool older() const { return productId_ == ViewerUsb::OlderProductId; }

    void init() override {}
    int findBusses() override { return gone_ ? 0 : 1; }
    int findDevices() override { return gone_ ? 0 : 1; }
    QVector<UsbDeviceRef> devices() override {
        QVector<UsbDeviceRef> list;
        if (foreign_)
            list.append({&foreignDevice_, 0x046D, 0xC077});
        if (!gone_)
            list.append({&instrument_, ViewerUsb::VendorId, productId_});
        return list;
    }

    int open(const UsbDeviceRef &device) override {
        FUZZ_CHECK(!open_);
        FUZZ_CHECK(device.device == &instrument_);
        if (gone_ || atEnd())
            return unplugged();
        switch (next() % 16) {
        case 0:
            return fail(-EACCES, "Permission denied");
        case 1:
            return fail(-EIO, "Input/output error");
        }
        open_ = true;
        return 0;
    }
    int setConfiguration(int) override { return setup("could not set config"); }
    int claimInterface(int) override { return setup("could not claim interface"); }

    int bulkWrite(int endpoint, const char *data, int size, int timeoutMs) override {
        FUZZ_CHECK(open_);
        FUZZ_CHECK(endpoint == ViewerUsb::OutEndpoint && timeoutMs > 0);
        checkCommand(data, size);
        if (gone_ || atEnd())
            return unplugged();
        switch (next() % 16) {
        case 0:
            return fail(-ETIMEDOUT, "Connection timed out");
        case 1:
            return size / 2;
        case 2:
            return 0;
        case 3:
            return unplugged();
        }
        return size;
    }

    int bulkRead(int endpoint, char *data, int size, int timeoutMs) override {
        FUZZ_CHECK(open_);
        FUZZ_CHECK(endpoint == ViewerUsb::InEndpoint && timeoutMs > 0);
        // Nothing the reader asks for may exceed its reply buffer.
        FUZZ_CHECK(size > 0 && size <= ViewerUsb::ReplyBufferSize);
        if (fills_ > 0) {
            --fills_;
            std::memset(data, fill_, size_t(size));
            return size;
        }
        if (gone_ || atEnd())
            return unplugged();
        const quint8 control = next();
        switch (control & 7) {
        case 0:
            return fail(-ETIMEDOUT, "Connection timed out");
        case 1: {
            const int length = next() % size;
            take(data, length);
            return length;
        }
        case 2:
            fill_ = next();
            fills_ = control >> 3;
            std::memset(data, fill_, size_t(size));
            return size;
        case 3:
            viewer_->requestStop();
            break;
        case 4:
            return unplugged();
        }
        take(data, size);
        return size;
    }

    int close() override {
        FUZZ_CHECK(open_);
        open_ = false;
        return 0;
    }
    QString lastError() const override { return lastError_; }

private:
    bool atEnd() const { return script_ == end_; }
    quint8 next() { return atEnd() ? 0 : *script_++; }
    void take(char *data, int size) {
        const int have = int(qMin<ptrdiff_t>(size, end_ - script_));
        std::memcpy(data, script_, size_t(have));
        std::memset(data + have, 0, size_t(size - have));
        script_ += have;
    }
    int fail(int error, const char *text) {
        lastError_ = QString::fromLatin1(text);
        return error;
    }
    int unplugged() {
        gone_ = true;
        return fail(-ENODEV, "No such device");
    }
    int setup(const char *what) {
        FUZZ_CHECK(open_);
        if (gone_ || atEnd())
            return unplugged();
        if (next() % 8 == 0)
            return fail(-EPERM, what);
        return 0;
    }
    // Only the commands of the instrument's own generation, in their forms.
    void checkCommand(const char *data, int size) {
        FUZZ_CHECK(size == 4 || size == 6);
        const quint32 code = qFromLittleEndian<quint32>(data);
        if (older()) {
            FUZZ_CHECK(size == 4 && code >= 1 && code <= 5);
        } else {
            const bool indexed = code == 8 || code == 9;
            FUZZ_CHECK(indexed || code == 2 || code == 7);
            FUZZ_CHECK(size == (indexed ? 6 : 4));
            if (indexed)
                FUZZ_CHECK(qFromLittleEndian<quint16>(data + 4) < 255);
        }
    }

    const uint8_t *script_;
    const uint8_t *end_;
    const quint16 productId_;
    const bool foreign_;
    const char instrument_ = 0;
    const char foreignDevice_ = 0;
    ViewerUsb *viewer_ = nullptr;
    bool open_ = false;
    bool gone_ = false;
    quint8 fill_ = 0;
    int fills_ = 0;
    QString lastError_;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The reader's diagnostic lines would drown the fuzzer's own output.
    if (!std::freopen("/dev/null", "w", stdout))
        std::perror("stdout");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    const quint8 setup = data[0];
    const bool older = setup & 1;
    auto owned = std::make_unique<ScriptedTransport>(
        data + 1, size - 1, older ? ViewerUsb::OlderProductId : ViewerUsb::NewerProductId,
        setup & 2);
    ScriptedTransport *transport = owned.get();

    KeeperProc store;
    if (setup & 4) {
        QByteArray header(ProcessP::HeaderSize, '\0');
        header[28] = 60; // period
        store.add(new ProcessP(header, QByteArray(), older ? 0 : 1));
    }
    const int heldBefore = store.count();

    ViewerUsb viewer(std::move(owned));
    transport->setViewer(&viewer);
    viewer.setKeeper(&store);
    int ends = 0;
    QList<ProcessP *> added;
    QObject::connect(&viewer, &ViewerUsb::readEnd, [&] { ++ends; });
    QObject::connect(&viewer, &ViewerUsb::addedNewProc, [&](ProcessP *p) { added << p; });
    QObject::connect(&viewer, &ViewerUsb::readProgress,
                     [](int test, int tests, int packet, int packets) {
                         FUZZ_CHECK(test >= 1 && test <= qMax(tests, 1));
                         FUZZ_CHECK(packet >= 0 && packet <= packets);
                     });

    const int reads = (setup & 8) ? 2 : 1;
    for (int r = 0; r < reads; ++r) {
        viewer.checkPresentDev();
        viewer.readDevices();
        FUZZ_CHECK(ends == r + 1);
        FUZZ_CHECK(!transport->isOpen());
    }

    // Whole tests only, each once, each in the store, of the generation's kinds.
    FUZZ_CHECK(store.count() == heldBefore + added.size());
    for (int i = heldBefore; i < store.count(); ++i) {
        const ProcessP *record = store.at(i);
        FUZZ_CHECK(record == added.at(i - heldBefore));
        FUZZ_CHECK(older ? (record->kind() == 0 || record->kind() == 3)
                         : (record->kind() == 1 || record->kind() == 2));
        for (int j = 0; j < i; ++j)
            FUZZ_CHECK(!ProcessP::sameTest(store.at(j)->rawHeader(), record->rawHeader()));
        fuzzcheck::useRecord(*record);
    }
    // FUZZ_VERBOSE=1: what the input read, to write seeds by.
    if (qEnvironmentVariableIsSet("FUZZ_VERBOSE")) {
        QByteArray kinds;
        for (const ProcessP *record : qAsConst(added))
            kinds += QByteArray::number(record->kind());
        std::fprintf(stderr, "%s instrument, %d read(s): %d new tests, kinds %s\n",
                     older ? "older" : "newer", reads, int(added.size()), kinds.constData());
    }
    return 0;
}
