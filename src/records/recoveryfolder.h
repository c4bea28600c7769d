#ifndef RECOVERYFOLDER_H
#define RECOVERYFOLDER_H

#include "records/atomicsave.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <vector>

// The recovery files of the program's instances, in one folder (the user's
// data folder). Each instance writes a file of its own, named after its
// process and start, and holds a lock file beside it for as long as it runs;
// a file whose lock nobody holds was left by an instance that ended without
// removing it (a crash, a power cut). A file whose owner still runs is never
// touched by another instance.
class RecoveryFolder {
public:
    // A file left by an instance that is gone; its lock is held by this one
    // until the object goes, so that no other instance offers it meanwhile.
    struct Orphan {
        QString path;
        QDateTime modified;
        std::unique_ptr<QLockFile> lock;
    };

    // The folder of QStandardPaths::AppDataLocation.
    static QString defaultFolder();

    explicit RecoveryFolder(const QString &folder = defaultFolder());
    // A clean exit: this instance's file goes.
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder &) = delete;
    RecoveryFolder &operator=(const RecoveryFolder &) = delete;

    QString folder() const { return folder_; }
    // This instance's recovery file (it exists only while written and not removed).
    QString path() const { return path_; }
    // Replaces this instance's file in one step (AtomicSave), taking the
    // lock first.
    AtomicSave write(const QString &projectPath, const QByteArray &image);
    // Removes this instance's file, then its lock.
    void remove();

    // The files of instances that are gone, newest first, locked for this one.
    std::vector<Orphan> orphans() const;
    // Deletes the file and lets its lock go.
    static void discard(Orphan &orphan);
    // Renames the file aside (".damaged-" and the time), keeping every byte,
    // and lets its lock go; returns the new path, empty when the rename failed.
    static QString setAside(Orphan &orphan);

private:
    QString folder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

#endif // RECOVERYFOLDER_H
