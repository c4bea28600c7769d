#include "projectsession.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

ProjectSession::Fingerprint ProjectSession::Fingerprint::of(const QString &path) {
    Fingerprint f;
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return f;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return f;
    f.size = info.size();
    f.modified = info.lastModified();
    f.hash = hash.result();
    return f;
}

void ProjectSession::setModified(bool modified) {
    if (modified == modified_)
        return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void ProjectSession::setFile(const QString &path) {
    setFile(path, path.isEmpty() ? Fingerprint() : Fingerprint::of(path));
}

void ProjectSession::setFile(const QString &path, const Fingerprint &fingerprint) {
    path_ = path;
    fingerprint_ = fingerprint;
}

bool ProjectSession::changedOnDisk() const {
    if (path_.isEmpty())
        return false;
    const Fingerprint now = Fingerprint::of(path_);
    // A file that is gone loses nothing when it is written again.
    return now.size >= 0 && !(now == fingerprint_);
}
