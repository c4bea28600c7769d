#include "simulatedinstrument.h"

#include "device/viewerusb.h"
#include "records/processp.h"

#include <QtEndian>
#include <cerrno>
#include <cstring>

namespace {
const int PacketSize = ViewerUsb::PacketSize;
const int CommandCodes = 16;
// The firmware never sends more identification than this, whatever length
// it announces.
const int MaxIdentificationReply = 1000;

QString writeError(int error) {
    return QStringLiteral("error writing to bulk endpoint %1: %2")
        .arg(ViewerUsb::OutEndpoint)
        .arg(qt_error_string(error));
}

QString readError(int error) {
    return QStringLiteral("error reading from bulk endpoint 0x%1: %2")
        .arg(ViewerUsb::InEndpoint, 0, 16)
        .arg(qt_error_string(error));
}

QByteArray fitted(const QByteArray &bytes, int size) {
    QByteArray out = bytes.left(size);
    out.append(size - out.size(), '\0');
    return out;
}
} // namespace

SimulatedInstrument::SimulatedInstrument(const Setup &setup)
    : setup_(setup), commandCounts_(CommandCodes, 0) {}

quint16 SimulatedInstrument::productId() const {
    return setup_.generation == Generation::Older ? ViewerUsb::OlderProductId
                                                  : ViewerUsb::NewerProductId;
}

quint8 SimulatedInstrument::readKind() const {
    return kindFor(setup_);
}

quint8 SimulatedInstrument::kindFor(const Setup &setup) {
    if (setup.generation == Generation::Older)
        return setup.version == 0x00010001 ? 0 : 3;
    const QByteArray model(ViewerUsb::ModelString, ViewerUsb::ModelStringBytes);
    return fitted(setup.model, ViewerUsb::ModelStringBytes) == model ? 2 : 1;
}

void SimulatedInstrument::opened() {
    nextTest_ = 0;
    currentTest_ = -1;
    commandCounts_.fill(0);
    pending_.clear();
    pendingAt_ = 0;
    pendingTest_ = -1;
}

SimulatedInstrument::Result SimulatedInstrument::write(const char *data, int size) {
    if (!plugged_)
        return {-ENODEV, writeError(ENODEV)};
    if (setup_.access == Access::ReadOnly)
        return {-EPERM, writeError(EPERM)};
    if (size < 4)
        return {size, QString()}; // no command: ignored
    const quint32 code = qFromLittleEndian<quint32>(data);
    const bool older = setup_.generation == Generation::Older;
    const int counted = int(qMin<quint32>(code, CommandCodes - 1));
    int which = commandCounts_[counted]++;
    if (older && code == 4)
        which = nextTest_;
    else if (older && code == 5)
        which = currentTest_;
    else if (!older && (code == 8 || code == 9))
        which = size >= 6 ? qFromLittleEndian<quint16>(data + 4) : -1;

    if (findFault(Fault::FailWrite, code, which))
        return {-ETIMEDOUT, writeError(ETIMEDOUT)};
    if (findFault(Fault::ShortWrite, code, which))
        return {size / 2, QString()}; // half a command: the firmware drops it

    pending_.clear();
    pendingAt_ = 0;
    pendingTest_ = -1;
    answer(code, data, size);
    if (findFault(Fault::FailReply, code, which))
        pending_.clear();
    else if (const Fault *f = findFault(Fault::ShortReply, code, which))
        pending_.truncate(f->length);
    return {size, QString()};
}

void SimulatedInstrument::answer(quint32 code, const char *data, int size) {
    const int count = setup_.tests.size();
    if (setup_.generation == Generation::Newer) {
        const int index = size == 6 ? qFromLittleEndian<quint16>(data + 4) : -1;
        if (code == 2 && size == 4) {
            queueReply(fitted(setup_.model, ViewerUsb::ModelStringBytes));
        } else if (code == 7 && size == 4) {
            QByteArray reply(8, '\0');
            reply[0] = char(qMin(count, 255));
            queueReply(reply);
        } else if (code == 8 && index >= 0 && index < count) {
            queueReply(headerOf(index));
        } else if (code == 9 && index >= 0 && index < count) {
            queueBlock(index);
        }
        return;
    }
    if (size != 4)
        return;
    switch (code) {
    case 1: {
        char info[20] = {};
        const qint64 trueLength = setup_.ident.size() + 2;
        const qint64 announced = setup_.identLength < 0 ? trueLength : setup_.identLength;
        qToLittleEndian<quint32>(quint32(announced), info);
        qToLittleEndian<quint32>(setup_.version, info + 8);
        qToLittleEndian<quint32>(quint32(count), info + 12);
        queueReply(QByteArray(info, sizeof info));
        break;
    }
    case 2: {
        // Byte 0 is unused; the text follows with its zero byte.
        const QByteArray reply = '\0' + setup_.ident + '\0';
        const qint64 announced = setup_.identLength < 0 ? reply.size() : setup_.identLength;
        queueReply(fitted(reply, int(qMin<qint64>(announced, MaxIdentificationReply))));
        break;
    }
    case 3:
        nextTest_ = 0;
        currentTest_ = -1;
        break;
    case 4:
        if (nextTest_ < count) {
            currentTest_ = nextTest_++;
            queueReply(oldHeader(headerOf(currentTest_)));
        }
        break;
    case 5:
        if (currentTest_ >= 0)
            queueBlock(currentTest_);
        break;
    default:
        break;
    }
}

SimulatedInstrument::Result SimulatedInstrument::read(char *data, int size) {
    if (!plugged_)
        return {-ENODEV, readError(ENODEV)};
    if (setup_.access == Access::ReadOnly)
        return {-EPERM, readError(EPERM)};
    if (pendingAt_ >= pending_.size())
        return {-ETIMEDOUT, readError(ETIMEDOUT)}; // nothing to send
    int total = 0;
    // A transfer takes whole packets until it is full or a short packet ends it.
    while (total < size && pendingAt_ < pending_.size()) {
        const int packet = pendingAt_ / PacketSize;
        const int start = pendingAt_;
        int length = qMin(PacketSize, pending_.size() - pendingAt_);
        pendingAt_ += length;
        if (packetFault(Fault::FailPacket, packet))
            return {-ETIMEDOUT, readError(ETIMEDOUT)};
        if (packetFault(Fault::ShortPacket, packet))
            length /= 2;
        if (length > size - total)
            return {-EOVERFLOW, readError(EOVERFLOW)};
        std::memcpy(data + total, pending_.constData() + start, size_t(length));
        total += length;
        if (pendingTest_ >= 0 && pendingTest_ == setup_.unplugAfterTest &&
            pendingAt_ >= pending_.size())
            plugged_ = false;
        if (length < PacketSize)
            break;
    }
    return {total, QString()};
}

QByteArray SimulatedInstrument::oldHeader(const QByteArray &header) {
    const QByteArray h = fitted(header, ProcessP::HeaderSize);
    char old[ProcessP::OldHeaderSize] = {};
    std::memcpy(old, h.constData(), 32);
    for (int i = 0; i < 4; ++i) {
        const float narrow = qFromLittleEndian<float>(h.constData() + 40 + 4 * i);
        qToLittleEndian<double>(double(narrow), old + 32 + 8 * i);
    }
    std::memcpy(old + 64, h.constData() + ProcessP::OffVolumeOffset, 4);
    std::memcpy(old + 68, h.constData() + 60, 4);
    return QByteArray(old, sizeof old);
}

void SimulatedInstrument::queueReply(const QByteArray &reply, int test) {
    pending_ = reply;
    pendingAt_ = 0;
    pendingTest_ = test;
}

void SimulatedInstrument::queueBlock(int test) {
    queueReply(fitted(setup_.tests.at(test).samples, ProcessP::sampleBytes(readKind())), test);
}

const SimulatedInstrument::Fault *SimulatedInstrument::findFault(Fault::Type type, quint32 command,
                                                                 int which) const {
    for (const Fault &f : setup_.faults)
        if (f.type == type && f.command == command && (f.which < 0 || f.which == which))
            return &f;
    return nullptr;
}

const SimulatedInstrument::Fault *SimulatedInstrument::packetFault(Fault::Type type,
                                                                   int packet) const {
    if (pendingTest_ < 0)
        return nullptr;
    for (const Fault &f : setup_.faults)
        if (f.type == type && f.test == pendingTest_ && f.packet == packet)
            return &f;
    return nullptr;
}

QByteArray SimulatedInstrument::headerOf(int test) const {
    return fitted(setup_.tests.at(test).header, ProcessP::HeaderSize);
}
