#include "strengthblock.h"

#include "keeperproc.h"
#include "processp.h"

#include <QHash>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {
const QByteArray Magic = QByteArrayLiteral("SETROVIA-STRENGTHS");
constexpr quint8 Version = 1;
constexpr int HardeningColumns = 7;

struct Entry {
    quint8 index;
    double strength;
};
} // namespace

QByteArray StrengthBlock::identity(const char *header) {
    QByteArray id(header, 6);
    id.append(header + ProcessP::OffDuration, 8);
    return id;
}

QByteArray StrengthBlock::encode(const KeeperProc &store) {
    QByteArray entries;
    int count = 0;
    for (int i = 0; i < store.count() && count < 0xffff; ++i) {
        const ProcessP *record = store.at(i);
        if (!record || !record->hasMeasuredStrength())
            continue;
        entries += identity(record->rawHeader());
        entries += char(record->measuredIndex());
        char value[8];
        qToLittleEndian(record->measuredStrength(), value);
        entries.append(value, 8);
        ++count;
    }
    if (count == 0)
        return QByteArray();
    QByteArray body = Magic;
    body += char(Version);
    char word[2];
    qToLittleEndian(quint16(count), word);
    body.append(word, 2);
    body += entries;
    qToLittleEndian(qChecksum(body.constData(), uint(body.size())), word);
    return QByteArray(1, '\0') + body + QByteArray(word, 2);
}

StrengthBlock::Outcome StrengthBlock::apply(const QByteArray &afterTail, KeeperProc &store) {
    if (!afterTail.startsWith(Magic))
        return Absent;
    const int head = Magic.size() + 1 + 2;
    if (afterTail.size() < head + 2 || quint8(afterTail.at(Magic.size())) != Version)
        return Damaged;
    const int count = qFromLittleEndian<quint16>(afterTail.constData() + Magic.size() + 1);
    if (afterTail.size() != head + count * EntrySize + 2)
        return Damaged;
    const int body = head + count * EntrySize;
    if (qChecksum(afterTail.constData(), uint(body)) !=
        qFromLittleEndian<quint16>(afterTail.constData() + body))
        return Damaged;

    QHash<QByteArray, Entry> stored;
    for (int e = 0; e < count; ++e) {
        const char *at = afterTail.constData() + head + e * EntrySize;
        const Entry entry{quint8(at[IdentitySize]),
                          qFromLittleEndian<double>(at + IdentitySize + 1)};
        if (entry.index >= HardeningColumns || !std::isfinite(entry.strength) ||
            entry.strength <= 0.0)
            return Damaged;
        const QByteArray id(at, IdentitySize);
        if (!stored.contains(id))
            stored.insert(id, entry);
    }
    for (int i = 0; i < store.count(); ++i) {
        ProcessP *record = store.at(i);
        const auto found = stored.constFind(identity(record->rawHeader()));
        if (found != stored.constEnd() && !record->hasMeasuredStrength())
            record->setMeasuredStrength(found->strength, found->index);
    }
    return Applied;
}
