#ifndef PEAKMEMORY_H
#define PEAKMEMORY_H

// The process's peak resident memory, to show that a large input is not
// read into memory.

#include <QFile>

// Peak resident memory of the process, kB (0 when the system does not say).
inline qint64 peakKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

#endif // PEAKMEMORY_H
