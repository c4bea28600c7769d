#include "viewerusb.h"

#include "records/keeperproc.h"
#include "records/processp.h"

#include <QtEndian>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {
// Command codes of the older instrument.
const quint32 OldInfo = 1;
const quint32 OldIdentification = 2;
const quint32 OldStart = 3;
const quint32 OldHeader = 4;
const quint32 OldSamples = 5;
const int OldInfoBytes = 20;
const quint32 OldVersionOfKind0 = 0x00010001;
// Command codes of the newer instrument.
const quint32 NewIdentification = 2;
const quint32 NewCellCount = 7;
const quint32 NewHeader = 8;
const quint32 NewSamples = 9;
const int NewCellCountBytes = 8;
// How many packets of a sample block pass between two progress reports.
const int ProgressStride = 8;

bool isPermissionError(int result) {
    return result == -EACCES || result == -EPERM;
}

quint32 u32At(const char *buffer, int offset) {
    return qFromLittleEndian<quint32>(buffer + offset);
}

int transfersOf(quint8 kind) {
    return (ProcessP::sampleBytes(kind) + ViewerUsb::PacketSize - 1) / ViewerUsb::PacketSize;
}
} // namespace

ViewerUsb::ViewerUsb() : ViewerUsb(nullptr) {}

ViewerUsb::ViewerUsb(std::unique_ptr<UsbTransport> transport) : QThread(nullptr) {
    qRegisterMetaType<ProcessP *>("ProcessP*");
    setTransport(std::move(transport));
    moveToThread(this);
}

ViewerUsb::~ViewerUsb() {
    shutdown();
    printLine("ViewerUsb::~ViewerUsb()\n");
}

namespace {
std::atomic<bool> diagnostics{true};
} // namespace

bool ViewerUsb::setDiagnostics(bool on) {
    return diagnostics.exchange(on);
}

void ViewerUsb::setKeeper(KeeperProc *keeper) {
    keeper_ = keeper;
}

void ViewerUsb::setTransport(std::unique_ptr<UsbTransport> transport) {
    transport_ = transport ? std::move(transport) : createUsbTransport();
}

void ViewerUsb::requestStop() {
    stopRequested_.storeRelaxed(1);
}

void ViewerUsb::shutdown() {
    requestStop();
    quit();
    if (QThread::currentThread() != this)
        wait();
}

void ViewerUsb::run() {
    emit activateUsbButton(false);
    exec();
}

// --- presence -----------------------------------------------------------------

void ViewerUsb::checkPresentDev() {
    // Rescan every time so that an instrument plugged in meanwhile is seen.
    transport_->init();
    transport_->findBusses();
    transport_->findDevices();
    bool found = false;
    for (const UsbDeviceRef &dev : transport_->devices()) {
        if (dev.vendorId == VendorId &&
            (dev.productId == OlderProductId || dev.productId == NewerProductId)) {
            device_ = dev;
            found = true;
        }
    }
    if (!found)
        resumeAt_ = 0; // another instrument may come next
    if (found != present_) {
        present_ = found;
        emit activateUsbButton(found);
    }
}

// --- the read -------------------------------------------------------------------

void ViewerUsb::readDevices() {
    stopped_ = false;
    tests_ = 0;
    test_ = 0;
    lastRead_.store(present_ ? ReadResult::Complete : ReadResult::NoInstrument);
    announced_ = -1;
    added_ = 0;
    held_ = 0;
    skipped_ = 0;
    permission_ = false;
    gone_ = false;
    full_ = false;
    if (present_ && openDevice()) {
        if (device_.productId == OlderProductId)
            readOldDevice();
        else
            readNewerDevice();
        closeDevice();
        reportEnd();
    }
    if (!full_)
        resumeAt_ = 0;
    {
        QMutexLocker lock(&reportMutex_);
        report_ = {lastRead_.load(), announced_,  added_, held_,
                   skipped_,         permission_, gone_,  full_};
    }
    stopRequested_.storeRelaxed(0);
    emit readEnd();
}

ViewerUsb::ReadReport ViewerUsb::lastReport() const {
    QMutexLocker lock(&reportMutex_);
    return report_;
}

bool ViewerUsb::storeFull(int index) {
    if (!keeper_ || keeper_->count() < KeeperProc::MaxRecords)
        return false;
    full_ = true;
    failed(); // the read did not bring every test
    resumeAt_ = index;
    emit sendMes(tr("The project holds %1 tests, as many as a project file can take: %2 tests "
                    "stayed on the instrument. Save this project, close it and read again: the "
                    "new project continues with them (tests it holds already are skipped).")
                     .arg(KeeperProc::MaxRecords)
                     .arg(qMax<qint64>(0, announced_ - index)));
    return true;
}

// Tests read into the previous project, before it filled up.
int ViewerUsb::resumeFrom(int tests) {
    const int from = qBound(0, resumeAt_, tests);
    if (from > 0)
        emit sendMes(tr("Tests 1 to %1 were read into the previous project; this read continues "
                        "with test %2.")
                         .arg(from)
                         .arg(from + 1));
    return from;
}

void ViewerUsb::noteResult(int result) {
    if (result != -ENODEV || gone_)
        return;
    gone_ = true;
    emit sendMes(tr("The instrument has disappeared: no further commands are sent, and the "
                    "tests not read stay on it."));
}

bool ViewerUsb::openDevice() {
    const int opened = transport_->open(device_);
    if (opened < 0) {
        failed();
        printLine("Can not open dev\n");
        permission_ = isPermissionError(opened);
        emit sendMes(permission_
                         ? accessHint(transport_->lastError())
                         : tr("Can not open the instrument: %1").arg(transport_->lastError()));
        return false;
    }
    printLine("Open dev\n");
    const int configured = transport_->setConfiguration(Configuration);
    const int claimed = transport_->claimInterface(Interface);
    // The read goes on regardless; but a device node that could only be
    // opened read-only refuses both, and every command after them will fail.
    if (isPermissionError(configured) || isPermissionError(claimed)) {
        permission_ = true;
        emit sendMes(accessHint(transport_->lastError()));
    }
    return true;
}

// What the read brought, so that a read cut short by a fault says so in the log.
void ViewerUsb::reportEnd() {
    if (announced_ < 0) {
        emit sendMes(tr("Read ended before the instrument told how many tests it holds."));
        return;
    }
    emit sendMes(tr("Read finished: %1 new tests, %2 already in the project, %3 not read.")
                     .arg(added_)
                     .arg(held_)
                     .arg(qMax<qint64>(0, announced_ - added_ - held_ - skipped_)));
}

QString ViewerUsb::accessHint(const QString &error) {
    return tr("No permission to use the instrument (%1). Install the udev rule "
              "60-setrovia.rules (see the README, \"Instrument access\"), then unplug the "
              "instrument and plug it in again.")
        .arg(error.isEmpty() ? tr("access denied") : error);
}

void ViewerUsb::closeDevice() {
    transport_->close();
}

// --- newer instrument -------------------------------------------------------------

// Besides the lines on standard output, the log says what failed, in the
// words it uses for the older instrument.
void ViewerUsb::readNewerDevice() {
    if (writeCommand(NewIdentification) != 4) {
        failed();
        printWithError("Erorr write com:\n");
        logWriteFailure(NewIdentification);
        return;
    }
    // A failed identification read leaves the reply buffer as it stands, and
    // the kind of the tests is a guess.
    if (bulkIn(replyBuffer_, ModelStringBytes) < 0) {
        failed();
        printLine("error read type of vantel\n");
        logReplyFailure(NewIdentification, errorText());
    }
    kind_ = std::memcmp(replyBuffer_, ModelString, ModelStringBytes) == 0 ? 2 : 1;

    if (writeCommand(NewCellCount) != 4) {
        failed();
        printWithError("Erorr write com:\n");
        logWriteFailure(NewCellCount);
        return;
    }
    const int got = bulkIn(replyBuffer_, NewCellCountBytes);
    if (got < 0) {
        failed();
        printWithError("read cells:\n");
        logReplyFailure(NewCellCount, errorText());
        return;
    }
    // An empty reply carries no count at all.
    tests_ = got > 0 ? quint8(replyBuffer_[0]) : 0;
    announced_ = tests_;
    skipped_ = resumeFrom(tests_);
    for (int i = skipped_; i < tests_ && !stopped_ && !gone_ && !full_; ++i)
        readCell(i);
}

void ViewerUsb::readCell(int index) {
    startTest(index + 1);
    if (writeIndexedCommand(NewHeader, quint16(index)) < 0) {
        failed();
        printWithError("Erorr write com:\n");
        logWriteFailure(NewHeader);
        return;
    }
    // A short header would leave bytes of the previous cell in the buffer:
    // it fails the cell like a read error.
    QString failure;
    if (!readExactly(replyBuffer_, 64, &failure) ||
        !readExactly(replyBuffer_ + 64, ProcessP::HeaderSize - 64, &failure)) {
        failed();
        printLine("Erorr read Cell " + failure.toLocal8Bit() + "\n");
        logReplyFailure(NewHeader, failure);
        return;
    }
    printLine("Read cell " + QByteArray::number(index) + "\n");
    const QByteArray header(replyBuffer_, ProcessP::HeaderSize);
    if (keeper_ && keeper_->contains(header)) {
        ++held_;
        return;
    }
    if (storeFull(index))
        return;
    QByteArray block(ProcessP::sampleBytes(kind_), '\0');
    if (readCellData(index, block.data(), kind_))
        offerRecord(header, std::move(block), kind_);
}

bool ViewerUsb::readCellData(int index, char *block, quint8 kind) {
    if (writeIndexedCommand(NewSamples, quint16(index)) < 0) {
        failed();
        emit sendMes(QStringLiteral("Can not read number of process"));
        return false;
    }
    return readPackets(block, ProcessP::sampleBytes(kind));
}

// --- older instrument ---------------------------------------------------------------

void ViewerUsb::readOldDevice() {
    if (!sendCommand(OldInfo, OldInfoBytes))
        return;
    const quint32 identLength = u32At(replyBuffer_, 0);
    const quint32 version = u32At(replyBuffer_, 8);
    const quint32 count = u32At(replyBuffer_, 12);
    announced_ = count;
    const quint8 kind = version != OldVersionOfKind0 ? 3 : 0;
    kind_ = kind;

    // The instrument announces the length of its identification; the reply
    // buffer bounds it (sendCommand never asks for more than it holds).
    if (!sendCommand(OldIdentification, int(qMin<quint32>(identLength, INT_MAX))))
        return;
    const char *text = replyBuffer_ + 1;
    const uint textBytes = uint(qMax(0, replyLength_ - 1));
    emit sendMes(QString::fromUtf8(text, int(qstrnlen(text, textBytes))));

    if (!sendCommand(OldStart, 0))
        return;
    tests_ = int(qMin<quint32>(count, INT_MAX));
    // The older instrument lists its tests one after the other: those read
    // into the previous project are listed too, but not fetched.
    const int from = resumeFrom(tests_);
    for (quint32 i = 0; i < count; ++i) {
        const int index = int(qMin<quint32>(i, INT_MAX - 1));
        startTest(index + 1);
        if (!readOldProcess(kind, index, index < from))
            break;
    }
}

bool ViewerUsb::readOldProcess(quint8 kind, int index, bool skip) {
    emit sendMes(QStringLiteral("Try read old process "));
    if (!sendCommand(OldHeader, ProcessP::OldHeaderSize))
        return false;
    // A short header is no test: do not build one from zero bytes.
    if (replyLength_ < ProcessP::OldHeaderSize) {
        failed();
        emit sendMes(tr("Short header of a stored test: %1 of %2 bytes")
                         .arg(replyLength_)
                         .arg(ProcessP::OldHeaderSize));
        return false;
    }
    if (skip) {
        ++skipped_;
        return true;
    }
    const QByteArray header =
        ProcessP::convertOldHeader(QByteArray(replyBuffer_, ProcessP::OldHeaderSize));
    if (keeper_ && keeper_->contains(header)) {
        ++held_;
        return true;
    }
    if (storeFull(index))
        return false;
    if (!sendCommand(OldSamples, 0))
        return false;
    QByteArray block(ProcessP::sampleBytes(kind), '\0');
    if (!readPackets(block.data(), block.size()))
        return false;
    offerRecord(header, std::move(block), kind);
    return true;
}

bool ViewerUsb::sendCommand(quint32 code, int replyLength) {
    replyLength_ = 0;
    if (writeCommand(code) != 4) {
        failed();
        logWriteFailure(code);
        return false;
    }
    if (replyLength <= 0)
        return true;
    replyLength = qMin(replyLength, ReplyBufferSize);
    // Bytes a short reply leaves out read as zero, not as the previous reply.
    std::memset(replyBuffer_, 0, size_t(replyLength));
    const int got = bulkIn(replyBuffer_, replyLength);
    if (got < 0) {
        failed();
        logReplyFailure(code, errorText());
        printWithError("Erorr qqq com:\n");
        return false;
    }
    replyLength_ = qMin(got, replyLength);
    return true;
}

// --- both ----------------------------------------------------------------------------

bool ViewerUsb::readPackets(char *block, int size) {
    const int whole = size / PacketSize;
    const int rest = size % PacketSize;
    const int transfers = whole + (rest ? 1 : 0);
    for (int p = 0; p < transfers; ++p) {
        QString failure;
        if (!readExactly(block + p * PacketSize, p < whole ? PacketSize : rest, &failure)) {
            failed();
            emit sendMes(QStringLiteral("Read frame #%1").arg(p));
            emit sendMes(QStringLiteral("Erorr read lubusb: %1").arg(failure));
            return false;
        }
        if ((p + 1) % ProgressStride == 0 || p + 1 == transfers)
            emit readProgress(test_, tests_, p + 1, transfers);
    }
    return true;
}

bool ViewerUsb::readExactly(char *data, int size, QString *failure) {
    const int got = bulkIn(data, size);
    if (got == size)
        return true;
    *failure = got < 0 ? errorText() : tr("short transfer, %1 of %2 bytes").arg(got).arg(size);
    return false;
}

void ViewerUsb::offerRecord(const QByteArray &header, QByteArray block, quint8 kind) {
    std::unique_ptr<ProcessP> record(new ProcessP(header, std::move(block), kind));
    if (!keeper_)
        return;
    if (keeper_->add(record.get())) {
        ++added_;
        emit addedNewProc(record.release());
    } else {
        ++held_; // the same test arrived meanwhile (a project was added)
    }
}

void ViewerUsb::logWriteFailure(quint32 code) {
    emit sendMes(
        QStringLiteral("Can't send command %1. usb_strerror() = %2").arg(code).arg(errorText()));
}

void ViewerUsb::logReplyFailure(quint32 code, const QString &failure) {
    emit sendMes(QStringLiteral("Can't read replay for command %1. usb_strerror() = %2")
                     .arg(code)
                     .arg(failure));
}

void ViewerUsb::startTest(int test) {
    test_ = test;
    emit readProgress(test_, tests_, 0, transfersOf(kind_));
}

int ViewerUsb::writeCommand(quint32 code) {
    char command[4];
    qToLittleEndian<quint32>(code, command);
    return bulkOut(command, sizeof command);
}

int ViewerUsb::writeIndexedCommand(quint32 code, quint16 index) {
    char command[6];
    qToLittleEndian<quint32>(code, command);
    qToLittleEndian<quint16>(index, command + 4);
    return bulkOut(command, sizeof command);
}

int ViewerUsb::bulkOut(const char *data, int size) {
    if (stopRequested_.loadRelaxed()) {
        stopped_ = true;
        return -ECANCELED;
    }
    if (gone_)
        return -ENODEV;
    const int result = transport_->bulkWrite(OutEndpoint, data, size, TimeoutMs);
    noteResult(result);
    return result;
}

int ViewerUsb::bulkIn(char *data, int size) {
    if (stopRequested_.loadRelaxed()) {
        stopped_ = true;
        return -ECANCELED;
    }
    if (gone_)
        return -ENODEV;
    const int result = transport_->bulkRead(InEndpoint, data, size, TimeoutMs);
    noteResult(result);
    return result;
}

QString ViewerUsb::errorText() const {
    return stopped_ ? tr("read stopped") : transport_->lastError();
}

void ViewerUsb::printWithError(const QByteArray &prefix) {
    printLine(prefix + errorText().toLocal8Bit() + "\n");
}

void ViewerUsb::printLine(const QByteArray &text) {
    if (!diagnostics)
        return;
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}
