#include "recoveryfolder.h"

#include "records/recoveryfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {
const QString Prefix = QStringLiteral("recovery-");
const QString Suffix = QStringLiteral(".recovery");

QString lockPath(const QString &path) {
    return path + QStringLiteral(".lock");
}

// Stale only when its process is gone: however old, a lock whose owner runs
// is kept.
std::unique_ptr<QLockFile> tryLock(const QString &path) {
    auto lock = std::make_unique<QLockFile>(lockPath(path));
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}
} // namespace

QString RecoveryFolder::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

RecoveryFolder::RecoveryFolder(const QString &folder) : folder_(folder) {
    // Unique among the instances running at once and those that ran before
    // under the same process number.
    static int made = 0;
    path_ = QDir(folder_).filePath(Prefix + QString::number(QCoreApplication::applicationPid()) +
                                   QLatin1Char('-') +
                                   QString::number(QDateTime::currentMSecsSinceEpoch()) +
                                   QLatin1Char('-') + QString::number(++made) + Suffix);
}

RecoveryFolder::~RecoveryFolder() {
    remove();
}

AtomicSave RecoveryFolder::write(const QString &projectPath, const QByteArray &image) {
    if (!lock_) {
        QDir().mkpath(folder_);
        lock_ = tryLock(path_);
        if (!lock_) {
            AtomicSave failed;
            failed.status = AtomicSave::CannotOpen;
            failed.error =
                QCoreApplication::translate("MainWindow", "The folder %1 cannot be written.")
                    .arg(QDir::toNativeSeparators(folder_));
            return failed;
        }
    }
    return AtomicSave::write(
        path_, RecoveryFile::encode(projectPath, QDateTime::currentDateTime(), image));
}

void RecoveryFolder::remove() {
    if (!lock_)
        return;
    QFile::remove(path_);
    lock_.reset(); // removes the lock file
}

std::vector<RecoveryFolder::Orphan> RecoveryFolder::orphans() const {
    std::vector<Orphan> found;
    const QFileInfoList files = QDir(folder_).entryInfoList({Prefix + QLatin1Char('*') + Suffix},
                                                            QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo &file : files) {
        if (file.absoluteFilePath() == QFileInfo(path_).absoluteFilePath())
            continue;
        if (std::unique_ptr<QLockFile> lock = tryLock(file.absoluteFilePath()))
            found.push_back({file.absoluteFilePath(), file.lastModified(), std::move(lock)});
    }
    return found;
}

void RecoveryFolder::discard(Orphan &orphan) {
    QFile::remove(orphan.path);
    orphan.lock.reset();
}

QString RecoveryFolder::setAside(Orphan &orphan) {
    const QString base = orphan.path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = base;
    for (int n = 2; QFileInfo::exists(aside) && n < 1000; ++n)
        aside = base + QLatin1Char('-') + QString::number(n);
    const bool renamed = QFile::rename(orphan.path, aside);
    orphan.lock.reset();
    return renamed ? aside : QString();
}
