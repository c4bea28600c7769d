#ifndef PROJECTSESSION_H
#define PROJECTSESSION_H

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

// The open project's state that the window, its title, the recovery file and
// the close prompt all follow: whether it has unsaved changes, the file it
// belongs to, and that file as this window last read or wrote it, so that a
// save notices when another program has written it since.
class ProjectSession : public QObject {
    Q_OBJECT
public:
    // A file as it was: its size, time and a hash of its bytes (a fast one:
    // it tells a change, not a forgery).
    struct Fingerprint {
        qint64 size = -1; // -1: none taken
        QDateTime modified;
        uint hash = 0;
        bool operator==(const Fingerprint &other) const {
            return size == other.size && modified == other.modified && hash == other.hash;
        }
        // The file at path now; none for a file that is not there.
        static Fingerprint of(const QString &path);
        // The file at path, just written with these bytes.
        static Fingerprint of(const QString &path, const QByteArray &bytes);
    };

    using QObject::QObject;

    bool isModified() const { return modified_; }
    QString path() const { return path_; }
    const Fingerprint &fingerprint() const { return fingerprint_; }

    void setModified(bool modified);
    // The project now belongs to the file at path, as it is on disk now
    // (empty: no file).
    void setFile(const QString &path);
    // The same, with the file's state given (none: never matches).
    void setFile(const QString &path, const Fingerprint &fingerprint);
    // True when the project's file exists and is no longer the one this
    // window last read or wrote.
    bool changedOnDisk() const;

signals:
    void modifiedChanged(bool modified);

private:
    bool modified_ = false;
    QString path_;
    Fingerprint fingerprint_;
};

#endif // PROJECTSESSION_H
