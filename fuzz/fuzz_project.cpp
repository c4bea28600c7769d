// Project files as they may come from a disk: the whole reader
// (ProjectFile::read on a file holding the input), the record parser over a
// store that already holds a test, and the tail split. Whatever reads must
// survive a save and read back the same; whatever fails must leave the store
// as it was.

#include "fuzzcheck.h"
#include "records/keeperproc.h"
#include "records/projectfile.h"

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
    static const QString path = dir.filePath(QStringLiteral("input.vtl"));
    return path;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void checkSameRecords(const KeeperProc &a, const KeeperProc &b) {
    FUZZ_CHECK(a.count() == b.count());
    for (int i = 0; i < a.count(); ++i) {
        const ProcessP &x = *a.at(i);
        const ProcessP &y = *b.at(i);
        FUZZ_CHECK(x.header() == y.header());
        FUZZ_CHECK(x.kind() == y.kind());
        FUZZ_CHECK(x.samples() == y.samples());
        FUZZ_CHECK(x.hardeningIndex() == y.hardeningIndex());
        FUZZ_CHECK(x.note() == y.note());
    }
}

// A project that was read is saved and read again: nothing may change.
void checkSaveAndReread(KeeperProc &store, const ProjectFile::Contents &read) {
    QByteArray image;
    FUZZ_CHECK(ProjectFile::image(store, read.description, read.names, &image).ok());
    KeeperProc again;
    QVector<bool> appended;
    const int consumed = again.fromBytes(image.mid(KeeperProc::FileFormatSize), &appended);
    FUZZ_CHECK(consumed >= 0);
    FUZZ_CHECK(appended.count(true) == store.count());
    checkSameRecords(store, again);
    const ProjectFile::Tail tail =
        ProjectFile::splitTail(image.mid(KeeperProc::FileFormatSize + 1 + consumed));
    FUZZ_CHECK(tail.description == read.description);
    FUZZ_CHECK(tail.names == read.names);
}

void checkFileRead(const QByteArray &bytes) {
    const QString &path = inputPath();
    FUZZ_CHECK(writeFile(path, bytes));
    KeeperProc store;
    const ProjectFile::Contents read = ProjectFile::read(path, store);
    if (!read.ok()) {
        FUZZ_CHECK(store.count() == 0);
        FUZZ_CHECK(!read.message.isEmpty());
        FUZZ_CHECK(read.appended.isEmpty());
        return;
    }
    FUZZ_CHECK(bytes.startsWith(KeeperProc::FileFormat));
    FUZZ_CHECK(read.appended.size() == quint8(bytes.at(KeeperProc::FileFormatSize)));
    FUZZ_CHECK(store.count() == read.appendedCount());
    const int tailAt = KeeperProc::FileFormatSize + 1 + read.recordBytes;
    FUZZ_CHECK(read.recordBytes >= 0 && tailAt <= bytes.size());
    const ProjectFile::Tail tail = ProjectFile::splitTail(bytes.mid(tailAt));
    FUZZ_CHECK(tail.description == read.description && tail.names == read.names);
    for (int i = 0; i < store.count(); ++i)
        fuzzcheck::useRecord(*store.at(i));
    checkSaveAndReread(store, read);
}

// The parser alone, whatever the first bytes are, over a store holding a test.
void checkParserKeepsTheStore(const QByteArray &bytes) {
    KeeperProc store;
    QByteArray header(ProcessP::HeaderSize, '\0');
    header[0] = 1;   // start second
    header[28] = 60; // period
    auto *held = new ProcessP(header, QByteArray(), 1);
    store.add(held);
    QVector<bool> appended;
    const int consumed = store.fromBytes(bytes.mid(KeeperProc::FileFormatSize), &appended);
    if (consumed < 0) {
        FUZZ_CHECK(store.count() == 1 && store.at(0) == held);
        FUZZ_CHECK(appended.isEmpty());
        return;
    }
    FUZZ_CHECK(store.at(0) == held);
    FUZZ_CHECK(store.count() == 1 + appended.count(true));
    // A record is refused exactly when the same test came before it.
    int row = 1;
    for (int r = 0; r < appended.size(); ++r) {
        if (!appended.at(r))
            continue;
        for (int earlier = 0; earlier < row; ++earlier)
            FUZZ_CHECK(
                !ProcessP::sameTest(store.at(earlier)->rawHeader(), store.at(row)->rawHeader()));
        ++row;
    }
}

// Any text: split then joined again gives the same bytes when it is clean
// UTF-8 without a NUL byte.
void checkTail(const QByteArray &bytes) {
    const ProjectFile::Tail tail = ProjectFile::splitTail(bytes);
    const QString text = QString::fromUtf8(bytes);
    if (!bytes.contains('\0') && text.toUtf8() == bytes)
        FUZZ_CHECK(ProjectFile::joinTail(tail.description, tail.names) == bytes);
    else
        FUZZ_CHECK(!tail.description.contains(QChar(0)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    checkFileRead(bytes);
    checkParserKeepsTheStore(bytes);
    checkTail(bytes);
    return 0;
}
