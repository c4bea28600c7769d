#include "recoveryfile.h"

#include "records/keeperproc.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {
const QByteArray Magic = QByteArrayLiteral("Setrovia+ recovery 1");
// Room for the header beside the largest project.
const qint64 MaxBytes = ProjectFile::MaxFileBytes + 64 * 1024;

QByteArray checksum(const QByteArray &image) {
    return QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex();
}
} // namespace

QByteArray RecoveryFile::encode(const QString &projectPath, const QDateTime &written,
                                const QByteArray &image) {
    QByteArray bytes = Magic + '\n';
    bytes += "project " + QUrl::toPercentEncoding(projectPath, "/") + '\n';
    bytes += "written " +
             written.toOffsetFromUtc(written.offsetFromUtc()).toString(Qt::ISODate).toLatin1() +
             '\n';
    bytes += "bytes " + QByteArray::number(image.size()) + '\n';
    bytes += "sha256 " + checksum(image) + '\n';
    bytes += '\n';
    return bytes + image;
}

RecoveryFile::Contents RecoveryFile::decode(const QByteArray &bytes, KeeperProc &store) {
    Contents c;
    if (bytes.isEmpty()) {
        c.status = Empty;
        return c;
    }
    if (!bytes.startsWith(Magic + '\n')) {
        c.status = OtherFormat;
        return c;
    }
    c.status = Damaged;
    // Header lines "key value" up to the empty line.
    int at = Magic.size() + 1;
    QByteArray path, written, length, sum;
    for (;;) {
        const int end = bytes.indexOf('\n', at);
        if (end < 0)
            return c;
        const QByteArray line = bytes.mid(at, end - at);
        at = end + 1;
        if (line.isEmpty())
            break;
        const int space = line.indexOf(' ');
        const QByteArray key = line.left(space < 0 ? line.size() : space);
        const QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "project")
            path = value;
        else if (key == "written")
            written = value;
        else if (key == "bytes")
            length = value;
        else if (key == "sha256")
            sum = value;
    }
    bool numeric = false;
    const qint64 size = length.toLongLong(&numeric);
    c.written = QDateTime::fromString(QString::fromLatin1(written), Qt::ISODate);
    const QByteArray image = bytes.mid(at);
    if (!numeric || size != image.size() || sum != checksum(image) || !c.written.isValid())
        return c;
    c.projectPath = QUrl::fromPercentEncoding(path);
    c.project = ProjectFile::parse(image, store, c.projectPath);
    c.status = c.project.ok() ? Ok : ProjectDamaged;
    return c;
}

RecoveryFile::Contents RecoveryFile::read(const QString &path, KeeperProc &store) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() > MaxBytes ||
        !file.open(QIODevice::ReadOnly))
        return Contents();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Contents();
    return decode(bytes, store);
}
