#ifndef PEAKMEMORY_H
#define PEAKMEMORY_H

// The process's memory as the system counts it.

#include <QFile>

// A line of /proc/self/status ("VmRSS:", ...) in kB; 0 when the system does not say.
inline qint64 statusKb(const char *key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLongLong();
    return 0;
}

#endif // PEAKMEMORY_H
