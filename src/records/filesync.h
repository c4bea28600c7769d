#ifndef FILESYNC_H
#define FILESYNC_H

#include <QString>

class QFileDevice;

// Pushing written data to the disk, so that a file survives a power cut: the
// operating system's calls, one implementation per platform
// (filesync_posix.cpp, filesync_windows.cpp). Each returns false with the system's reason.
namespace FileSync {
// The file's bytes, written through the open device.
bool syncFile(QFileDevice &file, QString *error);
// The folder's entries, so that a file renamed into it stays renamed.
bool syncFolder(const QString &folder, QString *error);
} // namespace FileSync

#endif // FILESYNC_H
