#include "testprojects.h"

#include <QtTest>
#include <atomic>
#include <memory>
#include <thread>

using namespace testrecords;
using testprojects::bytesOf;
using testprojects::writeFile;

namespace {
// Test n of a kind: its start n seconds after 10:00, its sample bytes a pattern.
ProcessP *record(quint8 kind, int n, const QByteArray &note = QByteArray(), int hardening = 2) {
    HeaderFields s;
    s.minute = quint8(n / 60);
    s.second = quint8(n % 60);
    s.volumeOffset = 77;
    QByteArray block = samples(kind);
    for (int j = 0; j < block.size(); ++j)
        block[j] = char((j * 7 + kind) & 0xff);
    auto *p = new ProcessP(header(s), block, kind);
    p->setNote(note);
    p->setHardeningIndex(hardening);
    return p;
}
} // namespace

// The project file and the store it is read into.
class TestProjectFile : public QObject {
    Q_OBJECT
private slots:
    void roundTripOfEveryKind();
    void measuredStrengthsAfterTheTail();
    void corruptFilesLeaveTheStore_data();
    void corruptFilesLeaveTheStore();
    void limitsRefuseAndWriteNothing();
    void readerThreadOffersWhileGuiUsesTheStore();

private:
    QTemporaryDir dir_;
};

void TestProjectFile::roundTripOfEveryKind() {
    KeeperProc store;
    store.add(record(0, 1, "Проба №1", 0));
    store.add(record(1, 2, QByteArray(), 6));
    store.add(record(2, 3, "цемент М500", 3));
    store.add(record(3, 4, "x\ny", 1));
    const QString path = dir_.filePath("every.vtl");
    QVERIFY(ProjectFile::save(path, store, "Описание\n2", {"Первая", "", "третья", "4"}).ok());
    // Notes of 15, 0, 18, 3 bytes; description 18, four separators, names 25.
    const QByteArray bytes = bytesOf(path);
    QCOMPARE(bytes.size(), 10 + (73 + 17280 + 15) + (73 + 10000) + (73 + 20000 + 18) +
                               (73 + 34560 + 3) + 18 + 4 + 25);
    KeeperProc loaded;
    const ProjectFile::Contents c = ProjectFile::read(path, loaded);
    QVERIFY(c.ok());
    QCOMPARE(loaded.at(0)->volumeOffset(), 0);  // kind 0 never carries one
    QCOMPARE(loaded.at(3)->volumeOffset(), 77); // kind 3 keeps it
    QVERIFY(ProjectFile::save(path, loaded, c.description, c.names).ok());
    QCOMPARE(bytesOf(path), bytes);

    // The same test twice is refused, and stays with the caller; once removed it may come again.
    const std::unique_ptr<ProcessP> twin(record(1, 2, "other"));
    QVERIFY(!loaded.add(twin.get()));
    QVERIFY(loaded.add(loaded.remove(1)));

    // A separator typed into the description shifts every name by one.
    const ProjectFile::Tail t = ProjectFile::splitTail(ProjectFile::joinTail("a\023b", {"n1"}));
    QCOMPARE(QStringList(t.description) + t.names, QStringList({"a", "b", "n1"}));
}

// The strengths ride after a NUL at the end of the tail, keyed by the test's
// identity: readers of the format see the same project, a damaged block is
// left out, Add project merges, and without strengths nothing changes.
void TestProjectFile::measuredStrengthsAfterTheTail() {
    const QByteArray original = bytesOf(EXAMPLE_PROJECT);
    KeeperProc store;
    const ProjectFile::Contents demo = ProjectFile::parse(original, store, "demo");
    QVERIFY(demo.ok() && !demo.strengthsDamaged);
    QByteArray image;
    QVERIFY(ProjectFile::image(store, demo.description, demo.names, &image).ok());
    QCOMPARE(image, original);

    store.at(1)->setMeasuredStrength(41.25, 2);
    store.at(3)->setMeasuredStrength(38.5, 5);
    QVERIFY(ProjectFile::image(store, demo.description, demo.names, &image).ok());
    // NUL, magic, version, count 2, two entries of 23 bytes, CRC; the first entry
    // starts with the identity of test 1 (start, duration, period).
    QCOMPARE(image.size(), original.size() + 1 + 18 + 1 + 2 + 2 * 23 + 2);
    QCOMPARE(image.left(original.size()), original);
    const QByteArray h = store.at(1)->header();
    QCOMPARE(image.mid(original.size(), 36),
             QByteArray("\0SETROVIA-STRENGTHS\x01\x02\0", 22) + h.left(6) + h.mid(24, 8));

    // Add project: the file's strengths join the tests that have none, new ones included.
    KeeperProc open;
    ProjectFile::parse(original, open, "open");
    open.at(1)->setMeasuredStrength(50.0, 2);
    delete open.remove(3); // the caller owns what it takes out
    const ProjectFile::Contents c = ProjectFile::parse(image, open, "added");
    QVERIFY(c.ok() && !c.strengthsDamaged);
    QCOMPARE(c.names, demo.names); // the block after the NUL is no name
    QVERIFY(!open.at(0)->hasMeasuredStrength());
    QCOMPARE(open.at(1)->measuredStrength(), 50.0);
    const ProcessP *added = open.at(open.count() - 1);
    QCOMPARE(added->measuredStrength(), 38.5);
    QCOMPARE(added->measuredIndex(), quint8(5));

    image[image.size() - 10] = char(image[image.size() - 10] ^ 0x40);
    KeeperProc damaged;
    QVERIFY(ProjectFile::parse(image, damaged, "damaged").strengthsDamaged);
    QCOMPARE(damaged.count(), store.count());
    QVERIFY(!damaged.at(1)->hasMeasuredStrength());
    // What follows a NUL without our magic is no block at all.
    QVERIFY(!ProjectFile::parse(original + QByteArray("\0junk", 5), damaged, "x").strengthsDamaged);
}

void TestProjectFile::corruptFilesLeaveTheStore_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    KeeperProc one;
    one.add(record(1, 5, "note"));
    const QByteArray good = one.toBytes(); // 10 + 73 + 10000 + 4 bytes
    const QString wrong = "Wrong file format. Format must be \"format 04\"",
                  corrupt = "File PATH corrupt";
    QTest::newRow("shorter than the format") << QByteArray("format 0") << wrong;
    QTest::newRow("other format") << QByteArray("format 03") + good.mid(9) << wrong;
    QTest::newRow("no count byte") << good.left(9) << corrupt;
    QTest::newRow("kind 4") << QByteArray(good).replace(10 + 68, 1, "\x04") << corrupt;
    QTest::newRow("samples cut") << good.left(10 + 69 + 9999) << corrupt;
    QTest::newRow("note longer than the rest") << good.left(good.size() - 1) << corrupt;
    // The good first record must not stay behind.
    QTest::newRow("count above the records") << QByteArray(good).replace(9, 1, "\x02") << corrupt;
}

void TestProjectFile::corruptFilesLeaveTheStore() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    KeeperProc store;
    ProcessP *held = record(2, 59, "kept");
    store.add(held);
    const QString path = dir_.filePath("bad.vtl");
    writeFile(path, bytes);
    const ProjectFile::Contents c = ProjectFile::read(path, store);
    QVERIFY(!c.ok());
    QCOMPARE(QString(c.message).replace(path, "PATH"), message);
    QVERIFY(store.count() == 1 && store.at(0) == held);
}

void TestProjectFile::limitsRefuseAndWriteNothing() {
    const QString path = dir_.filePath("limits.vtl");
    const QByteArray old = testprojects::projectImage(1);
    writeFile(path, old);
    KeeperProc many;
    for (int i = 0; i < 256; ++i)
        many.add(record(1, i));
    ProjectFile::Result r = ProjectFile::save(path, many, QString(), {});
    QCOMPARE(r.status, ProjectFile::TooManyTests);
    QVERIFY(r.message.contains("256") && r.message.contains("255"));
    QCOMPARE(bytesOf(path), old);
    delete many.remove(255);
    QVERIFY(ProjectFile::save(path, many, QString(), {}).ok());

    KeeperProc notes;
    notes.add(record(1, 1, QByteArray(65535, 'a')));
    notes.add(record(1, 2, QByteArray(65536, 'b')));
    r = ProjectFile::save(path, notes, QString(), {});
    QCOMPARE(r.status, ProjectFile::NoteTooLong);
    QVERIFY(r.message.contains("test 2") && r.message.contains("65536") &&
            r.message.contains("65535"));
    delete notes.remove(1);
    QVERIFY(ProjectFile::save(path, notes, QString(), {}).ok());
    QCOMPARE(bytesOf(path).size(), 10 + 73 + 10000 + 65535);
}

// The reader thread offers records while the GUI thread reads and removes. A
// missing store lock shows only as a data race, which only ThreadSanitizer
// sees for certain: this runs in that stage (scripts/test --sanitize thread).
void TestProjectFile::readerThreadOffersWhileGuiUsesTheStore() {
#ifndef __SANITIZE_THREAD__
    QSKIP("needs ThreadSanitizer");
#endif
    KeeperProc store;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (int i = 0; i < 1000; ++i) {
            ProcessP *p = record(1, i);
            if (store.contains(p->header()) || !store.add(p))
                delete p;
        }
        done = true;
    });
    while (!done) {
        for (int i = 0; i < store.count(); ++i)
            (void)store.at(i)->mass();
        if (store.count() > 10)
            delete store.remove(0);
    }
    reader.join();
}

QTEST_APPLESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
