#ifndef TESTPROJECTS_H
#define TESTPROJECTS_H

// Small projects, and files read and written whole.

#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"

#include <QFile>
#include <QtTest>

namespace testprojects {

// `tests` kind-1 tests starting at seconds first, first + 1, ..., named "test 0", ...
inline QByteArray projectImage(int tests, const QString &description = "lab", int first = 0) {
    KeeperProc store;
    QStringList names;
    for (int t = 0; t < tests; ++t) {
        testrecords::HeaderFields s;
        s.second = quint8(first + t);
        store.add(new ProcessP(testrecords::header(s), testrecords::samples(1), 1));
        names << QString("test %1").arg(t);
    }
    QByteArray image;
    ProjectFile::image(store, description, names, &image);
    return image;
}

inline QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

inline void makeProject(const QString &path, int tests, const QString &description = "lab",
                        int first = 0) {
    writeFile(path, projectImage(tests, description, first));
}

} // namespace testprojects

#endif // TESTPROJECTS_H
