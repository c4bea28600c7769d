#include "projectsession.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

ProjectSession::Fingerprint ProjectSession::Fingerprint::of(const QString &path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return Fingerprint();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fingerprint();
    return of(path, bytes);
}

ProjectSession::Fingerprint ProjectSession::Fingerprint::of(const QString &path,
                                                            const QByteArray &bytes) {
    Fingerprint f;
    f.size = bytes.size();
    f.modified = QFileInfo(path).lastModified();
    f.hash = qHash(bytes);
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
