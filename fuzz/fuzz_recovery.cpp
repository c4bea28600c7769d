// Recovery files as a crash, a power cut or a full disk may leave them: the
// reader (RecoveryFile::read on a file holding the input, and decode on the
// bytes). A file is either taken whole, its project read as the project
// reader reads it, or refused with the store left empty; what was taken is
// written again and reads back with the same path, time and tests.

#include "fuzzcheck.h"
#include "records/keeperproc.h"
#include "records/projectfile.h"
#include "records/recoveryfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

// Memory-backed when the system has it: the file is written for every input.
const QString &inputPath() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/setrovia-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/setrovia-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("input.recovery"));
    return path;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void checkTaken(const QByteArray &bytes, KeeperProc &store, const RecoveryFile::Contents &read) {
    FUZZ_CHECK(bytes.startsWith("Setrovia+ recovery 1\n"));
    FUZZ_CHECK(read.written.isValid());
    FUZZ_CHECK(store.count() == read.project.appendedCount());
    for (int i = 0; i < store.count(); ++i)
        fuzzcheck::useRecord(*store.at(i));
    QByteArray image;
    FUZZ_CHECK(
        ProjectFile::image(store, read.project.description, read.project.names, &image).ok());
    KeeperProc again;
    const RecoveryFile::Contents back =
        RecoveryFile::decode(RecoveryFile::encode(read.projectPath, read.written, image), again);
    FUZZ_CHECK(back.ok());
    FUZZ_CHECK(back.projectPath == read.projectPath);
    FUZZ_CHECK(back.written == read.written);
    FUZZ_CHECK(again.count() == store.count());
    for (int i = 0; i < store.count(); ++i)
        FUZZ_CHECK(again.at(i)->header() == store.at(i)->header() &&
                   again.at(i)->samples() == store.at(i)->samples() &&
                   again.at(i)->note() == store.at(i)->note());
    FUZZ_CHECK(back.project.description == read.project.description);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const QString &path = inputPath();
    FUZZ_CHECK(writeFile(path, bytes));
    KeeperProc store;
    const RecoveryFile::Contents read = RecoveryFile::read(path, store);
    KeeperProc decoded;
    FUZZ_CHECK(RecoveryFile::decode(bytes, decoded).status == read.status);
    if (!read.ok()) {
        // Refused files are set aside by the caller: nothing of them is opened.
        FUZZ_CHECK(store.count() == 0 && decoded.count() == 0);
        FUZZ_CHECK(!bytes.isEmpty() || read.status == RecoveryFile::Empty);
        return 0;
    }
    checkTaken(bytes, store, read);
    return 0;
}
