#include "filesync.h"

#include <QFile>
#include <QFileDevice>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

bool FileSync::syncFile(QFileDevice &file, QString *error) {
    if (!file.flush()) {
        *error = file.errorString();
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        *error = systemError();
        return false;
    }
    return true;
}

bool FileSync::syncFolder(const QString &folder, QString *error) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        *error = systemError();
        return false;
    }
    // Some file systems cannot sync a folder; their renames need nothing more.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    if (!synced)
        *error = systemError();
    ::close(fd);
    return synced;
}
