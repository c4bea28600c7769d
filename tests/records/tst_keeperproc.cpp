#include "records/keeperproc.h"
#include "records/processp.h"
#include "testrecords.h"

#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace testrecords;

namespace {
ProcessP *record(quint8 second, quint32 mass = 400) {
    HeaderFields s;
    s.second = second;
    s.mass = mass;
    return new ProcessP(header(s), samples(1), 1);
}
} // namespace

class TestKeeperProc : public QObject {
    Q_OBJECT
private slots:
    void addRefusesTheSameTest();
    void atAndRemoveOutOfRange();
    void removeHandsTheRecordOver();
    void clearDestroysEverything();
    void offersFromReaderThreadWhileGuiUsesTheStore();
    void emptyStoreImageAndMessages();
    void recordLayoutAndParseMessages();
    void fileRecordsStayTogetherWhileReaderAdds();
};

void TestKeeperProc::addRefusesTheSameTest() {
    KeeperProc store;
    ProcessP *a = record(1);
    QVERIFY(store.add(a));
    ProcessP *twin = record(1, 999); // same start, duration and period
    twin->setNote("other");
    QVERIFY(store.contains(twin->rawHeader()));
    QVERIFY(!store.add(twin));
    QCOMPARE(store.count(), 1);
    delete twin; // refused records stay with the caller
    ProcessP *b = record(2);
    QVERIFY(!store.contains(b->header()));
    QVERIFY(store.add(b));
    QCOMPARE(store.at(1), b);
    QCOMPARE(store.indexOf(b), 1);
    QVERIFY(!store.add(nullptr));
    QVERIFY(!store.contains(QByteArray("short")));
}

void TestKeeperProc::atAndRemoveOutOfRange() {
    KeeperProc store;
    store.add(record(1));
    store.add(record(2));
    QCOMPARE(store.at(-1), nullptr);
    QCOMPARE(store.at(store.count()), nullptr);
    QCOMPARE(store.remove(-1), nullptr);
    QCOMPARE(store.remove(store.count()), nullptr);
    QCOMPARE(store.count(), 2);
}

void TestKeeperProc::removeHandsTheRecordOver() {
    KeeperProc store;
    ProcessP *a = record(1);
    ProcessP *b = record(2);
    ProcessP *c = record(3);
    store.add(a);
    store.add(b);
    store.add(c);
    ProcessP *taken = store.remove(1);
    QCOMPARE(taken, b);
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.at(1), c);
    QCOMPARE(store.indexOf(b), -1);
    // The store no longer holds it: the same test may be added again.
    QVERIFY(store.add(b));
    QCOMPARE(store.at(2), b);
}

void TestKeeperProc::clearDestroysEverything() {
    KeeperProc store;
    for (int i = 0; i < 5; ++i)
        store.add(record(quint8(i)));
    store.clear();
    QCOMPARE(store.count(), 0);
    QCOMPARE(store.at(0), nullptr);
    QVERIFY(!store.contains(header()));
}

// The reader thread offers records (contains + add) while the GUI thread
// counts, reads, removes and clears. Run under ThreadSanitizer too.
void TestKeeperProc::offersFromReaderThreadWhileGuiUsesTheStore() {
    KeeperProc store;
    std::atomic<bool> done{false};
    std::atomic<int> added{0};
    std::thread reader([&] {
        for (int round = 0; round < 20; ++round) {
            for (int i = 0; i < 50; ++i) {
                HeaderFields s;
                s.second = quint8(i);
                s.minute = quint8(round);
                const QByteArray h = header(s);
                if (store.contains(h))
                    continue;
                auto *p = new ProcessP(h, samples(1), 1);
                if (store.add(p))
                    ++added;
                else
                    delete p;
            }
        }
        done = true;
    });
    int removed = 0;
    while (!done) {
        const int n = store.count();
        for (int i = 0; i < n; ++i)
            if (ProcessP *p = store.at(i))
                (void)p->mass();
        if (n > 10) {
            delete store.remove(0);
            ++removed;
        }
    }
    reader.join();
    QCOMPARE(store.count(), added.load() - removed);
    store.clear();
    QCOMPARE(store.count(), 0);
}

void TestKeeperProc::emptyStoreImageAndMessages() {
    KeeperProc store;
    QSignalSpy messages(&store, &KeeperProc::sendMessage);
    const QByteArray image = store.toBytes();
    QCOMPARE(image, QByteArray("format 04\0", 10));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0][0].toString(), QStringLiteral("size fileFormat = 9"));
}

// One kind-1 record: 68 header bytes, kind, 10000 sample bytes, hardening
// index 5 as u16, note length 3 as u16, "abc" = 73 + 10000 + 3 bytes.
void TestKeeperProc::recordLayoutAndParseMessages() {
    KeeperProc store;
    QByteArray block = samples(1);
    setCount(block, 1, 0, 0, 0x1234);
    setCount(block, 1, 1, 2499, 0xBEEF); // last sample of the second channel
    auto *p = new ProcessP(header(), block, 1);
    p->setHardeningIndex(5);
    p->setNote("abc");
    store.add(p);
    const QByteArray image = store.toBytes();
    QCOMPARE(image.size(), 10 + 10076);
    QCOMPARE(image.at(9), char(1));
    QCOMPARE(image.mid(10, 68), header());
    QCOMPARE(image.at(78), char(1));
    QCOMPARE(image.mid(79, 2), QByteArray("\x34\x12"));
    QCOMPARE(image.mid(79 + 9998, 2), QByteArray("\xEF\xBE"));
    QCOMPARE(image.mid(10079, 7), QByteArray("\x05\x00\x03\x00"
                                             "abc",
                                             7));

    KeeperProc other;
    QSignalSpy messages(&other, &KeeperProc::sendMessage);
    QVector<bool> appended;
    QCOMPARE(other.fromBytes(image.mid(9) + "tail", &appended), 10076);
    QCOMPARE(appended, QVector<bool>({true}));
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0][0].toString(), QString(31, QLatin1Char('*')));
    QCOMPARE(messages[1][0].toString(), QStringLiteral("size note = "));
    ProcessP *q = other.at(0);
    QCOMPARE(q->header(), header());
    QCOMPARE(q->samples(), block);
    QCOMPARE(int(q->hardeningIndex()), 5);
    QCOMPARE(q->note(), QByteArray("abc"));
}

// The reader thread keeps adding tests while a file is parsed: the file's
// records still land next to each other, and every count adds up.
void TestKeeperProc::fileRecordsStayTogetherWhileReaderAdds() {
    KeeperProc source;
    for (int i = 0; i < 30; ++i) {
        HeaderFields s;
        s.hour = 20;
        s.second = quint8(i);
        source.add(new ProcessP(header(s), samples(1), 1));
    }
    const QByteArray data = source.toBytes().mid(9);

    KeeperProc store;
    std::atomic<bool> stop{false};
    std::atomic<int> added{0};
    std::thread reader([&] {
        for (int i = 0; i < 4000 && !stop; ++i) {
            HeaderFields s;
            s.hour = 5;
            s.minute = quint8(i / 60);
            s.second = quint8(i % 60);
            auto *p = new ProcessP(header(s), QByteArray(), 1);
            if (store.add(p))
                ++added;
            else
                delete p;
        }
    });
    QVector<bool> appended;
    QCOMPARE(store.fromBytes(data, &appended), 30 * 10073);
    stop = true;
    reader.join();
    QCOMPARE(appended.count(true), 30);
    QCOMPARE(store.count(), added.load() + 30);
    int first = -1;
    for (int i = 0; i < store.count() && first < 0; ++i)
        if (store.at(i)->startHour() == 20)
            first = i;
    QVERIFY(first >= 0);
    for (int k = 0; k < 30; ++k)
        QCOMPARE(int(store.at(first + k)->startSecond()), k);
}

QTEST_APPLESS_MAIN(TestKeeperProc)
#include "tst_keeperproc.moc"
