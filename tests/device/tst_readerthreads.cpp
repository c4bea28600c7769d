#include "readerrig.h"

#include <QSemaphore>
#include <QtTest>

// The reader in its own thread, as the main window runs it.

class TestReaderThreads : public QObject {
    Q_OBJECT
private slots:
    void storeSharedThenClosedMidRead();
};

// The window works on the store while the reader reads, then closes mid-read
// (in the second test): only the first test is kept.
void TestReaderThreads::storeSharedThenClosedMidRead() {
    // The reader waits before each transfer; each round lets one go and works
    // on the store while the reader carries on up to the next one. The waits
    // are bounded, so that a failed check ends the test instead of hanging it.
    QSemaphore arrived, gate; // first: they outlive the reader
    ReaderRig rig({instrument("generation=newer")});
    rig.bus->setTransferHook([&] {
        arrived.release();
        gate.tryAcquire(1, 60000);
    });
    // The reader's signals reach this thread queued, as they reach the window.
    QObject here;
    QStringList log;
    int added = 0;
    QObject::connect(&rig.viewer, &ViewerUsb::sendMes, &here, [&](const QString &l) { log << l; });
    QObject::connect(&rig.viewer, &ViewerUsb::addedNewProc, &here, [&] { ++added; });
    rig.viewer.start();
    QMetaObject::invokeMethod(&rig.viewer, "checkPresentDev", Qt::QueuedConnection);
    QMetaObject::invokeMethod(&rig.viewer, "readDevices", Qt::QueuedConnection);
    QList<ProcessP *> own; // project tests come and go while the reader adds its own
    for (int transfer = 0; transfer < 500; ++transfer) {
        QVERIFY(arrived.tryAcquire(1, 60000));
        gate.release();
        own << projectTest(transfer);
        QVERIFY(rig.store.add(own.last()));
        for (int i = 0; i < rig.store.count(); ++i)
            QVERIFY(rig.store.at(i)->duration() > 0);
        if (own.size() > 3)
            delete rig.store.remove(rig.store.indexOf(own.takeFirst()));
    }
    rig.viewer.requestStop();
    gate.release(1 << 20);
    rig.viewer.shutdown(); // as the window's destructor does
    QTRY_COMPARE(
        log.value(log.size() - 1),
        QStringLiteral("Read finished: 1 new tests, 0 already in the project, 2 not read."));
    QCOMPARE(added, 1);
    for (ProcessP *test : own)
        delete rig.store.remove(rig.store.indexOf(test));
    QCOMPARE(held(rig.store), generated(2, {0}));
}

QTEST_GUILESS_MAIN(TestReaderThreads)
#include "tst_readerthreads.moc"
