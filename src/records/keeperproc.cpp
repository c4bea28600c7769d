#include "keeperproc.h"

#include "processp.h"

#include <QtEndian>
#include <memory>
#include <vector>

KeeperProc::KeeperProc(QObject *parent) : QObject(parent) {}

KeeperProc::~KeeperProc() {
    clear();
}

int KeeperProc::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.size();
}

ProcessP *KeeperProc::at(int i) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i < 0 || i >= records_.size())
        return nullptr;
    return records_.at(i);
}

int KeeperProc::indexOf(const ProcessP *record) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < records_.size(); ++i)
        if (records_.at(i) == record)
            return i;
    return -1;
}

bool KeeperProc::contains(const char *header) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return containsLocked(header);
}

bool KeeperProc::contains(const QByteArray &header) const {
    if (header.size() < ProcessP::HeaderSize)
        return false;
    return contains(header.constData());
}

bool KeeperProc::add(ProcessP *record) {
    if (!record)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (containsLocked(record->rawHeader()))
        return false;
    records_.append(record);
    return true;
}

ProcessP *KeeperProc::remove(int i) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i < 0 || i >= records_.size())
        return nullptr;
    return records_.takeAt(i);
}

void KeeperProc::clear() {
    QList<ProcessP *> old;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old.swap(records_);
    }
    qDeleteAll(old);
}

int KeeperProc::takeAll(KeeperProc &from) {
    if (&from == this)
        return 0;
    std::scoped_lock lock(mutex_, from.mutex_);
    QList<ProcessP *> kept;
    for (ProcessP *record : qAsConst(from.records_)) {
        if (containsLocked(record->rawHeader()))
            kept.append(record);
        else
            records_.append(record);
    }
    const int moved = from.records_.size() - kept.size();
    from.records_.swap(kept);
    return moved;
}

QByteArray KeeperProc::toBytes(LimitBreach *breach) {
    LimitBreach found;
    QByteArray image;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (records_.size() > MaxRecords) {
            found.kind = LimitBreach::TooManyRecords;
            found.size = records_.size();
        }
        qint64 total = FileFormatSize + 1;
        for (int i = 0; i < records_.size() && found.kind == LimitBreach::None; ++i) {
            const ProcessP *p = records_.at(i);
            const int noteBytes = p->note().size();
            if (noteBytes > MaxNoteBytes) {
                found.kind = LimitBreach::NoteTooLong;
                found.row = i;
                found.size = noteBytes;
            }
            total += ProcessP::HeaderSize + 1 + ProcessP::sampleBytes(p->kind()) + 4 + noteBytes;
        }
        if (found.kind == LimitBreach::None) {
            image.reserve(int(total));
            image.append(FileFormat, FileFormatSize);
            image.append(char(records_.size()));
            for (const ProcessP *p : records_) {
                image.append(p->rawHeader(), ProcessP::HeaderSize);
                image.append(char(p->kind()));
                image.append(p->samples().constData(), ProcessP::sampleBytes(p->kind()));
                char fields[4];
                qToLittleEndian<quint16>(p->hardeningIndex(), fields);
                const QByteArray note = p->note();
                qToLittleEndian<quint16>(quint16(note.size()), fields + 2);
                image.append(fields, 4);
                image.append(note);
            }
        }
    }
    if (breach)
        *breach = found;
    if (found.kind != LimitBreach::None)
        return QByteArray();
    // Sent outside the lock: a directly connected slot may use the store.
    emit sendMessage(QStringLiteral("size fileFormat = %1").arg(FileFormatSize));
    return image;
}

int KeeperProc::fromBytes(const QByteArray &data, QVector<bool> *appended) {
    emit sendMessage(QString(31, QLatin1Char('*')));
    if (appended)
        appended->clear();
    const char *d = data.constData();
    const qint64 size = data.size();
    if (size < 1)
        return -1;
    const int count = quint8(d[0]);
    qint64 pos = 1;
    // Every record is parsed before the store is touched, so corrupt data
    // leaves it as it was without taking anything back out.
    std::vector<std::unique_ptr<ProcessP>> parsed;
    parsed.reserve(size_t(count));
    for (int r = 0; r < count; ++r) {
        if (size - pos < ProcessP::HeaderSize + 1)
            return -1;
        const char *header = d + pos;
        const quint8 kind = quint8(d[pos + ProcessP::HeaderSize]);
        if (kind > 3)
            return -1;
        pos += ProcessP::HeaderSize + 1;
        const int sampleBytes = ProcessP::sampleBytes(kind);
        if (size - pos < sampleBytes)
            return -1;
        auto record =
            std::make_unique<ProcessP>(QByteArray::fromRawData(header, ProcessP::HeaderSize),
                                       QByteArray(d + pos, sampleBytes), kind);
        pos += sampleBytes;
        if (size - pos < 4)
            return -1;
        const quint8 hardening = quint8(d[pos]);
        const int noteBytes = qFromLittleEndian<quint16>(d + pos + 2);
        pos += 4;
        if (size - pos < noteBytes)
            return -1;
        record->setHardeningIndex(hardening);
        record->setNote(QByteArray(d + pos, int(qstrnlen(d + pos, uint(noteBytes)))));
        pos += noteBytes;
        emit sendMessage(QStringLiteral("size note = "));
        parsed.push_back(std::move(record));
    }

    QVector<bool> added(count, false);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int r = 0; r < count; ++r) {
            if (containsLocked(parsed[size_t(r)]->rawHeader()))
                continue; // the same test is held already: destroyed below
            records_.append(parsed[size_t(r)].release());
            added[r] = true;
        }
    }
    if (appended)
        *appended = added;
    return int(pos - 1);
}

bool KeeperProc::containsLocked(const char *header) const {
    for (const ProcessP *p : records_)
        if (ProcessP::sameTest(p->rawHeader(), header))
            return true;
    return false;
}
