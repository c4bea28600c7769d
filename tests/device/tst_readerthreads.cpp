#include "readerrig.h"
#include "testrecords.h"

#include <QSemaphore>
#include <QtTest>

// The reader in its own thread, as the main window runs it: the store is
// used from both threads during a read, and a read is cut short from outside.

namespace {
// Receives the reader's signals queued, in the test's thread.
class Watcher : public QObject {
    Q_OBJECT
public:
    explicit Watcher(ViewerUsb *viewer) {
        connect(viewer, &ViewerUsb::readEnd, this, [this] { ++ends; });
        connect(viewer, &ViewerUsb::addedNewProc, this, [this](ProcessP *p) { added << p; });
        connect(viewer, &ViewerUsb::readProgress, this, [this](int test) { lastTest = test; });
    }
    int ends = 0;
    int lastTest = 0;
    QList<ProcessP *> added;
};

struct ThreadRig {
    ThreadRig(const SimulatedInstrument::Setup &setup, int latencyUs,
              std::function<void()> transferHook = {})
        : bus(new SimulatorTransport), viewer(new ViewerUsb(std::unique_ptr<UsbTransport>(bus))),
          watcher(viewer) {
        bus->addInstrument(setup);
        bus->setLatencyUs(latencyUs);
        bus->setTransferHook(std::move(transferHook));
        viewer->setKeeper(&store);
        viewer->start();
        QMetaObject::invokeMethod(viewer, "checkPresentDev", Qt::QueuedConnection);
        QMetaObject::invokeMethod(viewer, "readDevices", Qt::QueuedConnection);
    }
    ~ThreadRig() { delete viewer; }
    // Every record held is a whole test exactly as the instrument holds it.
    bool recordsAreWhole(quint8 kind, int tests) const {
        const QVector<InstrumentTest> expected = TestGenerator::tests(kind, tests, 1);
        for (int i = 0; i < store.count(); ++i) {
            const ProcessP *p = store.at(i);
            const bool whole = std::any_of(expected.begin(), expected.end(), [p](const auto &t) {
                return p->header() == t.header && p->samples() == t.samples;
            });
            if (!whole)
                return false;
        }
        return true;
    }

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
    // The reader waits before each transfer until the GUI side lets it go, so
    // the two take turns on the store whatever the machine's speed: a round of
    // store work, then a few transfers of the read, and so on.
    QSemaphore gate;
    const int TransfersPerRound = 50;
    const int MaxRounds = 1000; // far more than the read needs; keeps the keys unique
    ThreadRig rig(instrument("generation=newer", 20), 0, [&gate] { gate.acquire(); });
    QList<ProcessP *> own;
    int round = 0;
    for (; round < MaxRounds && rig.watcher.ends == 0; ++round) {
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
        // The reader's turn: a few transfers, used up before the next round.
        gate.release(TransfersPerRound);
        QTRY_VERIFY_WITH_TIMEOUT(gate.available() == 0 || rig.watcher.ends > 0, 60000);
    }
    QVERIFY2(round > 1, "the read should have overlapped several rounds of store work");
    gate.release(1 << 20);
    QTRY_COMPARE_WITH_TIMEOUT(rig.watcher.ends, 1, 60000);
    QCOMPARE(rig.watcher.added.size(), 20);
    QCOMPARE(rig.store.count(), 20 + own.size());
    for (int t = 0; t < 20; ++t)
        QVERIFY(rig.store.contains(TestGenerator::test(2, t, 1).header));
}

// What the window's destructor does mid-read: the reader is held in the
// middle of its second test, asked to stop, and the object goes; only whole
// tests were kept.
void TestReaderThreads::destroyDuringRead() {
    QSemaphore held, proceed;
    int transfers = 0;      // reader thread only
    const int HoldAt = 500; // a newer kind-2 test takes a little over 300 transfers
    ThreadRig rig(instrument("generation=newer", 40), 0, [&] {
        if (++transfers == HoldAt) {
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
    QVERIFY(rig.recordsAreWhole(2, 40));
}

QTEST_GUILESS_MAIN(TestReaderThreads)
#include "tst_readerthreads.moc"
