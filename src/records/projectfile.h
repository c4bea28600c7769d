#ifndef PROJECTFILE_H
#define PROJECTFILE_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class KeeperProc;

// A project file (".vtl"): the store's record image (KeeperProc::toBytes)
// followed by the tail, the UTF-8 text of the project description and, after
// each U+0013, the name of one test in list order.
//
// After the tail's first NUL a file may carry the tests' measured strengths
// (StrengthBlock), which readers of the format never see.
//
// Reading fills the store and hands back the description, the names and which
// records were new; writing replaces the file only once the whole image is on
// disk, so a failed save leaves the previous file as it was.
class ProjectFile {
public:
    enum Status {
        Ok,
        CannotOpen,   // missing, unreadable, not a regular file; or the target cannot be made
        WrongFormat,  // the first bytes are not the format string
        Corrupt,      // a record runs past the end of the data, or a kind is unknown
        TooLarge,     // far larger than any project the format can describe
        TooManyTests, // more records than the count byte can carry
        NoteTooLong,  // a test description longer than its 16-bit length
        WriteFailed   // the image could not be written in full
    };

    // Records take at most 255 x 100168 bytes; the rest would be description
    // text. Anything above this is refused before it is read into memory.
    static constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;
    static constexpr ushort NameSeparator = 0x13;

    struct Tail {
        QString description;
        QStringList names; // names[j] belongs to the file's j-th record
    };

    struct Contents {
        Status status = CannotOpen;
        QString message; // the user's text for a failure; empty when Ok
        QString description;
        QStringList names;      // may hold fewer or more pieces than records
        QVector<bool> appended; // per record of the file: added to the store
        int recordBytes = -1;   // record bytes after the count byte
        // The measured strengths after the tail did not check: none was
        // taken, the tests were (strengthsMessage() says so, once).
        bool strengthsDamaged = false;
        bool ok() const { return status == Ok; }
        // Name piece of the file's j-th record, empty when the tail has none.
        QString nameOf(int j) const { return names.value(j); }
        int appendedCount() const { return int(appended.count(true)); }
    };

    struct Result {
        Status status = Ok;
        QString message;
        QString reason; // of a failed write: the system's words
        bool ok() const { return status == Ok; }
    };

    // Reads the file at path and adds its new tests to the store. On any
    // failure the store is left as it was.
    static Contents read(const QString &path, KeeperProc &store);
    // The same for a file image held in memory (format string first); name
    // stands for the file in the messages.
    static Contents parse(const QByteArray &image, KeeperProc &store, const QString &name);

    // The tail up to its first NUL byte, split at every U+0013 (empty pieces kept).
    static Tail splitTail(const QByteArray &tail);
    static QByteArray joinTail(const QString &description, const QStringList &names);

    // The whole file image. Fails with TooManyTests or NoteTooLong (and
    // leaves *image empty) when the store cannot be written in this format.
    static Result image(KeeperProc &store, const QString &description, const QStringList &names,
                        QByteArray *image);
    // Writes the bytes through a temporary file beside path that replaces
    // path only when complete.
    static Result write(const QString &path, const QByteArray &bytes);
    // image() then write(); nothing is written when the image fails.
    static Result save(const QString &path, KeeperProc &store, const QString &description,
                       const QStringList &names);

    // The user's text for a read failure (translated in the window's context).
    static QString message(Status status, const QString &path);
    // The user's text for a file whose measured strengths were left out.
    static QString strengthsMessage(const QString &path);

private:
    // The records and the tail after the format string.
    static Contents readRecords(const QByteArray &data, KeeperProc &store, const QString &name);
};

#endif // PROJECTFILE_H
