#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
    void tailRules();
    void corruptFilesLeaveTheStore_data();
    void corruptFilesLeaveTheStore();
    void limitsRefuseAndWriteNothing();

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

    KeeperProc loaded;
    const ProjectFile::Contents c = ProjectFile::read(path, loaded);
    QVERIFY(c.ok());
    QCOMPARE(loaded.at(0)->volumeOffset(), 0);  // kind 0 never carries one
    QCOMPARE(loaded.at(3)->volumeOffset(), 77); // kind 3 keeps it

    const QString again = dir_.filePath("again.vtl");
    QVERIFY(ProjectFile::save(again, loaded, c.description, c.names).ok());
    QCOMPARE(readAll(again), bytes);
}

void TestProjectFile::tailRules() {
    // Everything after a NUL is lost, names included.
    ProjectFile::Tail t = ProjectFile::splitTail(QByteArray("desc\x13one\0\x13two", 13));
    QCOMPARE(t.description, QStringLiteral("desc"));
    QCOMPARE(t.names, QStringList({"one"}));

    // A separator typed into the description shifts every name by one.
    KeeperProc store;
    store.add(record(1, 1));
    const QString path = dir_.filePath("shift.vtl");
    QVERIFY(ProjectFile::save(path, store, QStringLiteral("a") + QChar(0x13) + "b", {"n1"}).ok());
    QCOMPARE(readAll(path).mid(10 + 73 + 10000), QByteArray("a\x13"
                                                            "b\x13n1"));
    KeeperProc loaded;
    const ProjectFile::Contents c = ProjectFile::read(path, loaded);
    QCOMPARE(c.description, QStringLiteral("a"));
    QCOMPARE(c.names, QStringList({"b", "n1"}));
}

void TestProjectFile::corruptFilesLeaveTheStore_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const QByteArray good = oneRecordFile(); // 10 + 10077 bytes
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
    QTest::newRow("kind 4") << kind4 << int(ProjectFile::Corrupt);
    QTest::newRow("samples cut") << good.left(10 + 69 + 9999) << int(ProjectFile::Corrupt);
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
    if (status == ProjectFile::Corrupt)
        QCOMPARE(c.message, QStringLiteral("File %1 corrupt").arg(path));
    else
        QCOMPARE(c.message, QStringLiteral("Wrong file format. Format must be \"format 04\""));
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
    QCOMPARE(readAll(path).size(), 10 + 73 + 10000 + 65535);
}

QTEST_APPLESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
