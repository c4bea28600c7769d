#include "readerrig.h"
#include "testrecords.h"

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
    ThreadRig(const SimulatedInstrument::Setup &setup, int latencyUs)
        : bus(new SimulatorTransport), viewer(new ViewerUsb(std::unique_ptr<UsbTransport>(bus))),
          watcher(viewer) {
        bus->addInstrument(setup);
        bus->setLatencyUs(latencyUs);
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
    ThreadRig rig(instrument("generation=newer", 20), 10);
    QList<ProcessP *> own;
    for (int made = 0; rig.watcher.ends == 0; ++made) {
        // Project tests come and go while the reader adds its own.
        testrecords::HeaderFields s;
        s.year = 30;
        s.second = quint8(made % 60);
        s.minute = quint8(made / 60 % 60);
        own << new ProcessP(testrecords::header(s), testrecords::samples(1), 1);
        QVERIFY(rig.store.add(own.last()));
        for (int i = 0; i < rig.store.count(); ++i)
            QVERIFY(rig.store.at(i)->duration() > 0);
        if (made % 3 == 2)
            delete rig.store.remove(rig.store.indexOf(own.takeFirst()));
        QCoreApplication::processEvents();
    }
    QCOMPARE(rig.watcher.ends, 1);
    QCOMPARE(rig.watcher.added.size(), 20);
    QCOMPARE(rig.store.count(), 20 + own.size());
    for (int t = 0; t < 20; ++t)
        QVERIFY(rig.store.contains(TestGenerator::test(2, t, 1).header));
}

// What the window's destructor does mid-read: the thread ends, the object
// goes, and only whole tests were kept.
void TestReaderThreads::destroyDuringRead() {
    ThreadRig rig(instrument("generation=newer", 40), 100);
    QTRY_VERIFY(rig.watcher.lastTest >= 1);
    delete rig.viewer;
    rig.viewer = nullptr;
    QVERIFY(rig.store.count() < 40);
    QVERIFY(rig.recordsAreWhole(2, 40));
}

QTEST_GUILESS_MAIN(TestReaderThreads)
#include "tst_readerthreads.moc"
