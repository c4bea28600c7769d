#include "atomicsave.h"

#include "records/filesync.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

AtomicSave AtomicSave::write(const QString &path, const QByteArray &bytes,
                             QIODevice::OpenMode extraMode) {
    AtomicSave r;
    const QFileInfo target(path);
    QSaveFile file(path);
    // Unbuffered: every byte reaches the system in the write that returns its
    // count, so a full disk shows here, never in a flush at commit that the
    // toolkit does not report.
    if ((target.exists() && !target.isFile()) ||
        !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered | extraMode)) {
        r.status = CannotOpen;
        r.error = file.error() != QFileDevice::NoError
                      ? file.errorString()
                      : QCoreApplication::translate("MainWindow", "Can not open file");
        return r;
    }
    // A short write sets no error; writing the rest again reports the reason
    // (disk full, file too large). On failure the temporary file is discarded
    // when `file` goes.
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    r.status = WriteFailed;
    if (done != bytes.size()) {
        r.error = file.errorString();
        return r;
    }
    // On the disk before it takes the old file's place; the folder then keeps
    // the rename through a power cut.
    if (!FileSync::syncFile(file, &r.error))
        return r;
    if (!file.commit()) {
        r.error = file.errorString();
        return r;
    }
    if (!FileSync::syncFolder(QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath(),
                              &r.error))
        return r;
    r.status = Ok;
    return r;
}
