#ifndef STRENGTHBLOCK_H
#define STRENGTHBLOCK_H

#include <QByteArray>

class KeeperProc;

// The measured strengths of a project's tests, kept in the project file after
// the tail. The tail is read only up to its first NUL byte, so a block that
// starts with a NUL is invisible to every reader of the format; a program
// that does not know it drops it when it saves.
//
// Layout: NUL, the magic "SETROVIA-STRENGTHS", version 1 (u8), the entry count
// (u16), each entry 23 bytes: the test's identity (start date and time, 6
// bytes, then duration and period, 8 bytes, as the header holds them: what
// tells one test from another in the store), the hardening index the strength
// was measured at (u8) and the strength in MPa (f64), then a CRC-16 of
// everything from the magic on. Little-endian throughout.
class StrengthBlock {
public:
    static constexpr int IdentitySize = 14;
    static constexpr int EntrySize = IdentitySize + 1 + 8;

    // The identity bytes of a 68-byte header.
    static QByteArray identity(const char *header);

    // The block for the store's records that carry a strength; empty when
    // none does, so that such a project is written exactly as without it.
    static QByteArray encode(const KeeperProc &store);

    enum Outcome { Absent, Applied, Damaged };
    // `afterTail` is what follows the tail's first NUL. A block there gives
    // each held test that has no strength yet the one stored for it (the
    // strengths already held win: Add project merges). Anything else after
    // the NUL is not ours and is ignored; a block with our magic that does
    // not check is Damaged and changes nothing.
    static Outcome apply(const QByteArray &afterTail, KeeperProc &store);
};

#endif // STRENGTHBLOCK_H
