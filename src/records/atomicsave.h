#ifndef ATOMICSAVE_H
#define ATOMICSAVE_H

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Writes bytes through a temporary file beside path that replaces path only
// once everything is on disk (synced, and the folder synced after the
// rename): a failure leaves the old file byte for byte and says why. Every
// writer of the program's files goes through here.
// A path naming something other than a regular file (a device, a pipe, a
// directory) is refused: replacing it would destroy it.
struct AtomicSave {
    enum Status { Ok, CannotOpen, WriteFailed };
    Status status = Ok;
    QString error; // the file's error text on failure
    bool ok() const { return status == Ok; }

    static AtomicSave write(const QString &path, const QByteArray &bytes,
                            QIODevice::OpenMode extraMode = QIODevice::NotOpen);
};

#endif // ATOMICSAVE_H
