#ifndef LARGEPROJECT_H
#define LARGEPROJECT_H

// The largest project the format holds (255 four-channel tests, 8.8 MB).

#include "peakmemory.h"
#include "records/keeperproc.h"
#include "records/projectfile.h"
#include "testrecords.h"

#include <cstdio>

namespace testrecords {

inline bool writeLargeProject(const QString &path) {
    KeeperProc store;
    QStringList names;
    for (int t = 0; t < 255; ++t) {
        HeaderFields s;
        s.day = quint8(1 + t % 28);
        s.month = quint8(1 + t / 28);
        s.duration = 4320 * 60;
        s.period = 60;
        QByteArray block = samples(3);
        for (int c = 0; c < 4; ++c)
            for (int i = 0; i < 4320; ++i)
                setCount(block, 3, c, i, quint16((i * (c + 3) + t) & 0x3fff));
        auto *p = new ProcessP(header(s), block, 3);
        p->setNote(QByteArray("Test ") + QByteArray::number(t));
        store.add(p);
        names << QStringLiteral("Sample %1").arg(t);
    }
    if (ProjectFile::save(path, store, QStringLiteral("Benchmark project"), names).ok())
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace testrecords

#endif // LARGEPROJECT_H
