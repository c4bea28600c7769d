#include "readerrig.h"
#include "testrecords.h"

#include <QSemaphore>
#include <QtTest>

// The reader in its own thread, as the main window runs it.

namespace {
// Receives the reader's signals queued, in the test's thread.
class Watcher : public QObject {
    Q_OBJECT
public:
    explicit Watcher(ViewerUsb *viewer) {
        connect(viewer, &ViewerUsb::readEnd, this, [this] { ++ends; });
        connect(viewer, &ViewerUsb::addedNewProc, this, [this] { ++added; });
    }
    int ends = 0, added = 0;
};

struct ThreadRig {
    ThreadRig(int tests, std::function<void()> transferHook)
        : bus(new SimulatorTransport), viewer(new ViewerUsb(std::unique_ptr<UsbTransport>(bus))),
          watcher(viewer) {
        bus->addInstrument(instrument("generation=newer", tests));
        bus->setTransferHook(std::move(transferHook));
        viewer->setKeeper(&store);
        viewer->start();
        QMetaObject::invokeMethod(viewer, "checkPresentDev", Qt::QueuedConnection);
        QMetaObject::invokeMethod(viewer, "readDevices", Qt::QueuedConnection);
    }
    ~ThreadRig() { delete viewer; }
    KeeperProc store;
    SimulatorTransport *bus;
    ViewerUsb *viewer;
    Watcher watcher;
};
} // namespace

class TestReaderThreads : public QObject {
    Q_OBJECT
private slots:
    void readWhileGuiUsesStore();
    void destroyDuringRead();
};

void TestReaderThreads::readWhileGuiUsesStore() {
    // The reader waits before each transfer until let go: the two take turns.
    QSemaphore gate;
    ThreadRig rig(20, [&gate] { gate.acquire(); });
    QList<ProcessP *> own;
    int round = 0;
    for (; round < 1000 && rig.watcher.ends == 0; ++round) {
        // Project tests come and go while the reader adds its own.
        testrecords::HeaderFields s;
        s.year = 30;
        s.second = quint8(round % 60);
        s.minute = quint8(round / 60);
        own << new ProcessP(testrecords::header(s), testrecords::samples(1), 1);
        QVERIFY(rig.store.add(own.last()));
        for (int i = 0; i < rig.store.count(); ++i)
            QVERIFY(rig.store.at(i)->duration() > 0);
        if (own.size() > 3)
            delete rig.store.remove(rig.store.indexOf(own.takeFirst()));
        gate.release(50); // the reader's turn: a few transfers
        QTRY_VERIFY_WITH_TIMEOUT(gate.available() == 0 || rig.watcher.ends > 0, 60000);
    }
    QVERIFY2(round > 1, "the read should have overlapped several rounds of store work");
    gate.release(1 << 20);
    QTRY_COMPARE_WITH_TIMEOUT(rig.watcher.ends, 1, 60000);
    QCOMPARE(rig.watcher.added, 20);
    QCOMPARE(rig.store.count(), 20 + own.size());
    for (int t = 0; t < 20; ++t)
        QVERIFY(rig.store.contains(TestGenerator::test(2, t, 1).header));
}

// The window's destructor mid-read (in the second test): only the first is kept.
void TestReaderThreads::destroyDuringRead() {
    QSemaphore held, proceed;
    int transfers = 0; // reader thread only
    ThreadRig rig(40, [&] {
        if (++transfers == 500) {
            held.release();
            proceed.acquire();
        }
    });
    held.acquire();
    rig.viewer->requestStop();
    proceed.release();
    delete rig.viewer;
    rig.viewer = nullptr;
    QCOMPARE(rig.store.count(), 1);
    const InstrumentTest first = TestGenerator::test(2, 0, 1);
    QCOMPARE(rig.store.at(0)->header(), first.header);
    QCOMPARE(rig.store.at(0)->samples(), first.samples);
}

QTEST_GUILESS_MAIN(TestReaderThreads)
#include "tst_readerthreads.moc"
