#include "records/keeperproc.h"
#include "records/processp.h"
#include "testrecords.h"

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
    void offersFromReaderThreadWhileGuiUsesTheStore();
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
    // Once removed, the same test may be added again.
    QCOMPARE(store.remove(0), a);
    QVERIFY(store.add(a));
    QVERIFY(!store.add(nullptr));
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

QTEST_APPLESS_MAIN(TestKeeperProc)
#include "tst_keeperproc.moc"
