#ifndef RECOVERYFILE_H
#define RECOVERYFILE_H

#include "records/projectfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class KeeperProc;

// A recovery file: the bytes of an unsaved project, exactly as a project file
// holds them, with the path of the project file they belong to and the time
// they were written. A short text header comes first:
//
//   Setrovia+ recovery 1
//   project <the project file's path, percent-encoded UTF-8; empty: never saved>
//   written <ISO 8601 date and time with its UTC offset>
//   bytes <length of the project image>
//   sha256 <SHA-256 of the project image, hex>
//   <an empty line, then the project image>
//
// The length and the checksum tell a file cut short by a crash or a full
// disk, or changed since, from one that was written in full.
class RecoveryFile {
public:
    enum Status {
        Ok,
        Unreadable,    // cannot be opened or read, or far too large
        Empty,         // no bytes at all
        OtherFormat,   // not a recovery file (or one of a later version)
        Damaged,       // the header is incomplete, or the image is cut or changed
        ProjectDamaged // the image is complete but no project can be read from it
    };

    struct Contents {
        Status status = Unreadable;
        QString projectPath;
        QDateTime written;
        ProjectFile::Contents project; // what the image added to the store
        bool ok() const { return status == Ok; }
    };

    static QByteArray encode(const QString &projectPath, const QDateTime &written,
                             const QByteArray &image);
    // Checks the file in full and reads its tests into the store, which is
    // left as it was on any failure.
    static Contents decode(const QByteArray &bytes, KeeperProc &store);
    static Contents read(const QString &path, KeeperProc &store);
};

#endif // RECOVERYFILE_H
