#include "projectfile.h"

#include "atomicsave.h"
#include "keeperproc.h"
#include "strengthblock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstring>

ProjectFile::Contents ProjectFile::read(const QString &path, KeeperProc &store) {
    Contents c;
    auto fail = [&](Status status) {
        c.status = status;
        c.message = message(status, path);
        return c;
    };
    // Only a regular file (or a link to one): a pipe would block the window
    // and a device may never end.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return fail(CannotOpen);

    // Compared as a NUL-terminated string, so a short file never matches.
    char format[KeeperProc::FileFormatSize + 1] = {};
    if (file.read(format, KeeperProc::FileFormatSize) < 0)
        return fail(CannotOpen);
    if (std::strcmp(format, KeeperProc::FileFormat) != 0)
        return fail(WrongFormat);

    if (file.size() > MaxFileBytes)
        return fail(TooLarge);
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(CannotOpen);
    return readRecords(data, store, path);
}

ProjectFile::Contents ProjectFile::parse(const QByteArray &image, KeeperProc &store,
                                         const QString &name) {
    if (!image.startsWith(
            QByteArray::fromRawData(KeeperProc::FileFormat, KeeperProc::FileFormatSize))) {
        Contents c;
        c.status = WrongFormat;
        c.message = message(WrongFormat, name);
        return c;
    }
    return readRecords(image.mid(KeeperProc::FileFormatSize), store, name);
}

ProjectFile::Contents ProjectFile::readRecords(const QByteArray &data, KeeperProc &store,
                                               const QString &name) {
    Contents c;
    c.recordBytes = store.fromBytes(data, &c.appended);
    if (c.recordBytes < 0) {
        c.appended.clear();
        c.status = Corrupt;
        c.message = message(Corrupt, name);
        return c;
    }
    const QByteArray rest = QByteArray::fromRawData(data.constData() + 1 + c.recordBytes,
                                                    data.size() - 1 - c.recordBytes);
    Tail tail = splitTail(rest);
    const int nul = rest.indexOf('\0');
    if (nul >= 0)
        c.strengthsDamaged =
            StrengthBlock::apply(rest.mid(nul + 1), store) == StrengthBlock::Damaged;
    c.description = tail.description;
    c.names = tail.names;
    c.status = Ok;
    return c;
}

ProjectFile::Tail ProjectFile::splitTail(const QByteArray &tail) {
    const int end = int(qstrnlen(tail.constData(), uint(tail.size())));
    QStringList pieces =
        QString::fromUtf8(tail.constData(), end).split(QChar(NameSeparator), Qt::KeepEmptyParts);
    Tail t;
    t.description = pieces.takeFirst();
    t.names = pieces;
    return t;
}

QByteArray ProjectFile::joinTail(const QString &description, const QStringList &names) {
    QString text = description;
    for (const QString &name : names) {
        text += QChar(NameSeparator);
        text += name;
    }
    return text.toUtf8();
}

ProjectFile::Result ProjectFile::image(KeeperProc &store, const QString &description,
                                       const QStringList &names, QByteArray *image) {
    Result r;
    KeeperProc::LimitBreach breach;
    QByteArray bytes = store.toBytes(&breach);
    switch (breach.kind) {
    case KeeperProc::LimitBreach::TooManyRecords:
        r.status = TooManyTests;
        r.message =
            QCoreApplication::translate(
                "MainWindow", "The project holds %1 tests, but a project file can hold at most %2. "
                              "Nothing was saved.")
                .arg(breach.size)
                .arg(KeeperProc::MaxRecords);
        break;
    case KeeperProc::LimitBreach::NoteTooLong:
        r.status = NoteTooLong;
        r.message = QCoreApplication::translate(
                        "MainWindow",
                        "The description of test %1 in the list takes %2 bytes, but a project "
                        "file can hold at most %3 bytes per test description. Nothing was saved.")
                        .arg(breach.row + 1)
                        .arg(breach.size)
                        .arg(KeeperProc::MaxNoteBytes);
        break;
    case KeeperProc::LimitBreach::None:
        bytes += joinTail(description, names);
        bytes += StrengthBlock::encode(store);
        break;
    }
    *image = r.ok() ? bytes : QByteArray();
    return r;
}

ProjectFile::Result ProjectFile::write(const QString &path, const QByteArray &bytes) {
    const AtomicSave saved = AtomicSave::write(path, bytes);
    Result r;
    r.reason = saved.error;
    if (saved.status == AtomicSave::CannotOpen) {
        r.status = CannotOpen;
        r.message = message(CannotOpen, path);
    } else if (saved.status == AtomicSave::WriteFailed) {
        r.status = WriteFailed;
        r.message = saved.error;
    }
    return r;
}

ProjectFile::Result ProjectFile::save(const QString &path, KeeperProc &store,
                                      const QString &description, const QStringList &names) {
    QByteArray bytes;
    const Result built = image(store, description, names, &bytes);
    if (!built.ok())
        return built;
    return write(path, bytes);
}

QString ProjectFile::strengthsMessage(const QString &path) {
    return QCoreApplication::translate("MainWindow",
                                       "The measured strengths stored in %1 are damaged and were "
                                       "left out; the tests themselves were read.")
        .arg(path);
}

QString ProjectFile::message(Status status, const QString &path) {
    switch (status) {
    case Ok:
        return QString();
    case CannotOpen:
        return QCoreApplication::translate("MainWindow", "Can not open file");
    case WrongFormat:
        return QCoreApplication::translate("MainWindow", "Wrong file format. Format must be \"%1\"")
            .arg(QLatin1String(KeeperProc::FileFormat));
    case Corrupt:
        return QCoreApplication::translate("MainWindow", "File %1 corrupt").arg(path);
    case TooLarge:
        return QCoreApplication::translate(
                   "MainWindow", "File %1 is too large to be a project file (at most %2 bytes).")
            .arg(path)
            .arg(MaxFileBytes);
    case TooManyTests:
    case NoteTooLong:
    case WriteFailed:
        break;
    }
    return QCoreApplication::translate("MainWindow", "Error");
}
