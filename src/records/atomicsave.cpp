#include "atomicsave.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

AtomicSave AtomicSave::write(const QString &path, const QByteArray &bytes,
                             QIODevice::OpenMode extraMode) {
    AtomicSave r;
    const QFileInfo target(path);
    QSaveFile file(path);
    if ((target.exists() && !target.isFile()) || !file.open(QIODevice::WriteOnly | extraMode)) {
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
    if (done == bytes.size() && file.commit())
        return r;
    r.status = WriteFailed;
    r.error = file.errorString();
    return r;
}
