#include "filesync.h"

#include <QFileDevice>
#include <io.h>
#include <windows.h>

namespace {
QString systemError(DWORD code) {
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString reason =
        text ? QString::fromWCharArray(text).trimmed() : QStringLiteral("error %1").arg(code);
    LocalFree(text);
    return reason;
}
} // namespace

bool FileSync::syncFile(QFileDevice &file, QString *error) {
    if (!file.flush()) {
        *error = file.errorString();
        return false;
    }
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
        *error = systemError(GetLastError());
        return false;
    }
    return true;
}

// NTFS journals its renames: a folder has no buffers of its own to flush.
bool FileSync::syncFolder(const QString &, QString *) {
    return true;
}
