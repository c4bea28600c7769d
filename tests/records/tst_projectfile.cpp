#include "peakmemory.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace testrecords;

namespace {
QByteArray pattern(quint8 kind) {
    QByteArray block = samples(kind);
    for (int j = 0; j < block.size(); ++j)
        block[j] = char((j * 7 + kind) & 0xff);
    return block;
}

ProcessP *record(quint8 kind, quint8 second, const QByteArray &note = QByteArray(),
                 int hardening = 2) {
    HeaderFields s;
    s.second = second;
    s.volumeOffset = 77;
    auto *p = new ProcessP(header(s), pattern(kind), kind);
    p->setNote(note);
    p->setHardeningIndex(hardening);
    return p;
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// One kind-1 record with the note "note": 73 + 10000 + 4 bytes after the count byte.
QByteArray oneRecordFile() {
    KeeperProc store;
    store.add(record(1, 5, "note"));
    return store.toBytes();
}
} // namespace

class TestProjectFile : public QObject {
    Q_OBJECT
private slots:
    void roundTripOfEveryKind();
    void fileSizeExample();
    void emptyProjectKeepsItsDescription();
    void tailRules();
    void duplicateTestsInOneFile();
    void corruptFilesLeaveTheStore_data();
    void corruptFilesLeaveTheStore();
    void hostileFiles();
    void limitsRefuseAndWriteNothing();
    void failedWritesKeepTheOldFile();
    void demoProjectReads();

private:
    QTemporaryDir dir_;
};

void TestProjectFile::roundTripOfEveryKind() {
    KeeperProc store;
    store.add(record(0, 1, "Проба №1", 0));
    store.add(record(1, 2, QByteArray(), 6));
    store.add(record(2, 3, "цемент М500", 3));
    store.add(record(3, 4, "x\ny", 1));
    const QString description = QStringLiteral("Описание проекта\nстрока 2");
    const QStringList names{QStringLiteral("Первая"), QString(), QStringLiteral("третья"),
                            QStringLiteral("4")};
    const QString path = dir_.filePath("every.vtl");
    QVERIFY(ProjectFile::save(path, store, description, names).ok());

    // Notes of 15, 0, 18 and 3 bytes; the tail is 46 bytes of description,
    // four separators and 12 + 0 + 12 + 1 bytes of names.
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), 10 + (73 + 17280 + 15) + (73 + 10000) + (73 + 20000 + 18) +
                               (73 + 34560 + 3) + 46 + 4 + 25);
    QCOMPARE(bytes.left(10), QByteArray("format 04\x04"));
    QCOMPARE(bytes.mid(10 + 68, 1), QByteArray("\x00", 1)); // kind 0
    QCOMPARE(bytes.mid(10 + 69 + 17280, 4), QByteArray("\x00\x00\x0f\x00", 4));

    KeeperProc loaded;
    const ProjectFile::Contents c = ProjectFile::read(path, loaded);
    QVERIFY(c.ok());
    QCOMPARE(c.description, description);
    QCOMPARE(c.names, names);
    QCOMPARE(c.appended, QVector<bool>({true, true, true, true}));
    QCOMPARE(loaded.count(), 4);
    for (int i = 0; i < 4; ++i) {
        const ProcessP *a = store.at(i);
        const ProcessP *b = loaded.at(i);
        QCOMPARE(b->header(), a->header());
        QCOMPARE(b->kind(), a->kind());
        QCOMPARE(b->samples(), a->samples());
        QCOMPARE(b->hardeningIndex(), a->hardeningIndex());
        QCOMPARE(b->note(), a->note());
    }
    QCOMPARE(QString::fromUtf8(loaded.at(0)->note()), QStringLiteral("Проба №1"));
    QCOMPARE(loaded.at(0)->volumeOffset(), 0);  // kind 0 never carries one
    QCOMPARE(loaded.at(3)->volumeOffset(), 77); // kind 3 keeps it

    const QString again = dir_.filePath("again.vtl");
    QVERIFY(ProjectFile::save(again, loaded, c.description, c.names).ok());
    QCOMPARE(readAll(again), bytes);
}

void TestProjectFile::fileSizeExample() {
    KeeperProc store;
    store.add(record(1, 1, "abc"));
    const QString path = dir_.filePath("size.vtl");
    QVERIFY(ProjectFile::save(path, store, "d", {"xy"}).ok());
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), 9 + 1 + (73 + 10000 + 3) + 4);
    QCOMPARE(bytes.mid(9 + 1 + 73 + 10000 + 3), QByteArray("d\x13xy"));
    KeeperProc loaded;
    const ProjectFile::Contents c = ProjectFile::read(path, loaded);
    QCOMPARE(c.recordBytes, 73 + 10000 + 3);
    QCOMPARE(c.description, QStringLiteral("d"));
    QCOMPARE(c.nameOf(0), QStringLiteral("xy"));
    QCOMPARE(c.nameOf(1), QString());
}

void TestProjectFile::emptyProjectKeepsItsDescription() {
    KeeperProc store;
    const QString path = dir_.filePath("empty.vtl");
    QVERIFY(ProjectFile::save(path, store, QStringLiteral("Только описание"), {}).ok());
    QCOMPARE(readAll(path).size(), 10 + 29);
    KeeperProc loaded;
    const ProjectFile::Contents c = ProjectFile::read(path, loaded);
    QVERIFY(c.ok());
    QCOMPARE(c.recordBytes, 0);
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(c.description, QStringLiteral("Только описание"));
    QVERIFY(c.names.isEmpty());
}

void TestProjectFile::tailRules() {
    // Everything after a NUL is lost, names included.
    ProjectFile::Tail t = ProjectFile::splitTail(QByteArray("desc\x13one\0\x13two", 13));
    QCOMPARE(t.description, QStringLiteral("desc"));
    QCOMPARE(t.names, QStringList({"one"}));
    // Empty pieces are kept.
    t = ProjectFile::splitTail("\x13\x13z");
    QCOMPARE(t.description, QString());
    QCOMPARE(t.names, QStringList({"", "z"}));

    // A separator typed into the description shifts every name by one.
    KeeperProc store;
    store.add(record(1, 1));
    const QString path = dir_.filePath("shift.vtl");
    QVERIFY(ProjectFile::save(path, store, QStringLiteral("a") + QChar(0x13) + "b", {"n1"}).ok());
    KeeperProc loaded;
    const ProjectFile::Contents c = ProjectFile::read(path, loaded);
    QCOMPARE(c.description, QStringLiteral("a"));
    QCOMPARE(c.nameOf(0), QStringLiteral("b"));
    QCOMPARE(c.names, QStringList({"b", "n1"}));
}

void TestProjectFile::duplicateTestsInOneFile() {
    const QByteArray one = oneRecordFile();
    const QByteArray recordBytes = one.mid(10);
    QByteArray twice = one.left(9) + char(2) + recordBytes + recordBytes +
                       "desc\x13"
                       "first\x13second";
    const QString path = dir_.filePath("twice.vtl");
    QVERIFY(writeAll(path, twice));
    KeeperProc store;
    const ProjectFile::Contents c = ProjectFile::read(path, store);
    QVERIFY(c.ok());
    QCOMPARE(store.count(), 1);
    QCOMPARE(c.appended, QVector<bool>({true, false}));
    QCOMPARE(c.appendedCount(), 1);
    QCOMPARE(c.nameOf(0), QStringLiteral("first"));
}

void TestProjectFile::corruptFilesLeaveTheStore_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const QByteArray good = oneRecordFile(); // 10 + 10077 bytes
    QCOMPARE(good.size(), 10087);
    QByteArray kind4 = good;
    kind4[10 + 68] = char(4);
    QByteArray twoCounted = good;
    twoCounted[9] = char(2);
    // A good first record must not stay behind when the second is bad.
    QByteArray secondBad = twoCounted + good.mid(10);
    secondBad[10 + 10077 + 68] = char(7);
    QTest::newRow("shorter than the format")
        << QByteArray("format 0") << int(ProjectFile::WrongFormat);
    QTest::newRow("other format") << QByteArray("format 03") + good.mid(9)
                                  << int(ProjectFile::WrongFormat);
    QTest::newRow("no count byte") << good.left(9) << int(ProjectFile::Corrupt);
    QTest::newRow("no kind byte") << good.left(10 + 68) << int(ProjectFile::Corrupt);
    QTest::newRow("kind 4") << kind4 << int(ProjectFile::Corrupt);
    QTest::newRow("samples cut") << good.left(10 + 69 + 9999) << int(ProjectFile::Corrupt);
    QTest::newRow("u16 fields cut") << good.left(10 + 69 + 10000 + 3) << int(ProjectFile::Corrupt);
    QTest::newRow("note longer than the rest")
        << good.left(good.size() - 1) << int(ProjectFile::Corrupt);
    QTest::newRow("count above the records") << twoCounted << int(ProjectFile::Corrupt);
    QTest::newRow("second record of kind 7") << secondBad << int(ProjectFile::Corrupt);
}

void TestProjectFile::corruptFilesLeaveTheStore() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    const QString path = dir_.filePath("bad.vtl");
    QVERIFY(writeAll(path, bytes));
    KeeperProc store;
    ProcessP *held = record(2, 59, "kept");
    store.add(held);
    const ProjectFile::Contents c = ProjectFile::read(path, store);
    QCOMPARE(int(c.status), status);
    QCOMPARE(store.count(), 1);
    QCOMPARE(store.at(0), held);
    QCOMPARE(held->note(), QByteArray("kept"));
    if (status == ProjectFile::Corrupt)
        QCOMPARE(c.message, QStringLiteral("File %1 corrupt").arg(path));
    else
        QCOMPARE(c.message, QStringLiteral("Wrong file format. Format must be \"format 04\""));
}

void TestProjectFile::hostileFiles() {
    KeeperProc store;
    ProjectFile::Contents c = ProjectFile::read(dir_.filePath("missing.vtl"), store);
    QCOMPARE(c.status, ProjectFile::CannotOpen);
    QCOMPARE(c.message, QStringLiteral("Can not open file"));
    QVERIFY(QDir(dir_.path()).mkdir("folder.vtl"));
    QCOMPARE(ProjectFile::read(dir_.filePath("folder.vtl"), store).status, ProjectFile::CannotOpen);
    QCOMPARE(ProjectFile::read(QStringLiteral("/dev/zero"), store).status, ProjectFile::CannotOpen);

    // Sparse files of 1 GB: neither may be read into memory.
    const qint64 before = peakKb();
    const QString zeros = dir_.filePath("zeros.vtl");
    {
        QFile f(zeros);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(1) << 30));
    }
    QCOMPARE(ProjectFile::read(zeros, store).status, ProjectFile::WrongFormat);
    const QString huge = dir_.filePath("huge.vtl");
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(oneRecordFile());
        QVERIFY(f.resize(qint64(1) << 30));
    }
    c = ProjectFile::read(huge, store);
    QCOMPARE(c.status, ProjectFile::TooLarge);
    QVERIFY(c.message.contains(huge));
    QCOMPARE(store.count(), 0);
    QVERIFY2(peakKb() - before < 64 * 1024, qPrintable(QString::number(peakKb() - before)));
    QFile::remove(zeros);
    QFile::remove(huge);
}

void TestProjectFile::limitsRefuseAndWriteNothing() {
    const QString path = dir_.filePath("limits.vtl");
    const QByteArray old = oneRecordFile();
    QVERIFY(writeAll(path, old));

    KeeperProc many;
    for (int i = 0; i < 256; ++i) {
        HeaderFields s;
        s.minute = quint8(i / 60);
        s.second = quint8(i % 60);
        many.add(new ProcessP(header(s), samples(1), 1));
    }
    ProjectFile::Result r = ProjectFile::save(path, many, QString(), {});
    QCOMPARE(r.status, ProjectFile::TooManyTests);
    QVERIFY(r.message.contains("256") && r.message.contains("255"));
    QCOMPARE(readAll(path), old);
    delete many.remove(255);
    QVERIFY(ProjectFile::save(path, many, QString(), {}).ok());
    QCOMPARE(readAll(path).at(9), char(255));

    KeeperProc notes;
    notes.add(record(1, 1, QByteArray(65535, 'a')));
    notes.add(record(1, 2, QByteArray(65536, 'b')));
    r = ProjectFile::save(path, notes, QString(), {});
    QCOMPARE(r.status, ProjectFile::NoteTooLong);
    QVERIFY(r.message.contains("test 2") && r.message.contains("65536") &&
            r.message.contains("65535"));
    QCOMPARE(readAll(path).size(), 10 + 255 * 10073);
    delete notes.remove(1);
    QVERIFY(ProjectFile::save(path, notes, QString(), {}).ok());
    KeeperProc loaded;
    QVERIFY(ProjectFile::read(path, loaded).ok());
    QCOMPARE(loaded.at(0)->note().size(), 65535);
}

void TestProjectFile::failedWritesKeepTheOldFile() {
    KeeperProc store;
    store.add(record(3, 1, "new"));

    // The parent is a regular file: nothing can be created there.
    const QString plain = dir_.filePath("plain");
    QVERIFY(writeAll(plain, "x"));
    ProjectFile::Result r = ProjectFile::save(plain + "/p.vtl", store, QString(), {});
    QCOMPARE(r.status, ProjectFile::CannotOpen);
    QCOMPARE(r.message, QStringLiteral("Can not open file"));

    // A directory stands where the file should go.
    QVERIFY(QDir(dir_.path()).mkpath("taken.vtl/inside"));
    r = ProjectFile::save(dir_.filePath("taken.vtl"), store, QString(), {});
    QVERIFY(!r.ok());
    QVERIFY(QFileInfo(dir_.filePath("taken.vtl/inside")).isDir());

    // A pipe (or a device) would be replaced by a regular file: refused.
    const QString fifo = dir_.filePath("pipe.vtl");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(ProjectFile::save(fifo, store, QString(), {}).status, ProjectFile::CannotOpen);
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());

    // The disk fills up halfway: the old project must survive byte for byte.
    QTemporaryDir own;
    const QString path = own.filePath("lab.vtl");
    const QByteArray old = oneRecordFile();
    QVERIFY(writeAll(path, old));
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16384;
    std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    r = ProjectFile::save(path, store, "description", {"name"});
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(r.status, ProjectFile::WriteFailed);
    QCOMPARE(r.message, QStringLiteral("File too large")); // the system's reason, EFBIG
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(own.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"lab.vtl"}));
}

// The example shipped with the sources stays a valid project.
void TestProjectFile::demoProjectReads() {
    KeeperProc store;
    const ProjectFile::Contents c = ProjectFile::read(
        QStringLiteral(SETROVIA_SOURCE_DIR "/examples/demo-instrument.vtl"), store);
    QVERIFY(c.ok());
    QCOMPARE(store.count(), 5);
    QString kinds;
    for (int i = 0; i < store.count(); ++i)
        kinds += QString::number(store.at(i)->kind());
    QCOMPARE(kinds, QStringLiteral("11203"));
    QCOMPARE(c.names.size(), 5);
    QCOMPARE(c.nameOf(0), QStringLiteral("Партия 17"));
}

QTEST_APPLESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
