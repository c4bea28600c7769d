// Reads kind-3 tests from the simulated older instrument through the real
// reader code: our own cost per test and per packet with no transfer delay,
// then the total against its lower bound with 1 ms per transfer.

#include "device/viewerusb.h"
#include "records/keeperproc.h"
#include "simulator/simulatoroptions.h"
#include "simulator/simulatortransport.h"
#include "simulator/testgenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {
const int PacketsPerTest = 540;
// Per test: command 4, its 72-byte reply, command 5 and the packets; per read:
// commands 1, 2 and 3 and the two replies.
const int TransfersPerTest = 3 + PacketsPerTest;
const int TransfersPerRead = 5;

struct Run {
    int tests = 0;
    int held = 0;
    double seconds = 0;
    // What the simulated bus's delays really cost: the sleeps overshoot.
    double sleptSeconds = 0;
    int sleptTransfers = 0;
};

Run readTests(int tests, int latencyUs) {
    SimulatedInstrument::Setup setup = SimulatorOptions::parse("generation=older;version=2").setup;
    setup.tests = TestGenerator::tests(3, tests, 1);
    auto *bus = new SimulatorTransport;
    bus->addInstrument(setup);
    bus->setLatencyUs(latencyUs);
    bus->setTracing(false);
    KeeperProc store;
    ViewerUsb viewer{std::unique_ptr<UsbTransport>(bus)};
    viewer.setKeeper(&store);
    viewer.checkPresentDev();
    QElapsedTimer timer;
    timer.start();
    viewer.readDevices();
    const double seconds = timer.nsecsElapsed() / 1e9;
    return {tests, store.count(), seconds, bus->sleptUs() / 1e6, bus->sleptTransfers()};
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);

    const Run fast = readTests(255, 0);
    const double packets = double(fast.tests) * PacketsPerTest;
    std::printf("bench_read: %d kind-3 tests (%d read), latency-us=0: total %.3f s, "
                "%.1f us per test, %.3f us per packet (%.0f packets)\n",
                fast.tests, fast.held, fast.seconds, fast.seconds * 1e6 / fast.tests,
                fast.seconds * 1e6 / packets, packets);

    // 255 tests at 1 ms per transfer take well over two minutes; 20 show the
    // same ratio.
    const Run slow = readTests(20, 1000);
    const double slowPackets = double(slow.tests) * PacketsPerTest;
    const double transfers = double(slow.tests) * TransfersPerTest + TransfersPerRead;
    std::printf("bench_read: %d kind-3 tests (%d read; fewer than 255 to keep the run short), "
                "latency-us=1000: total %.3f s; lower bound %.0f packets x 1 ms = %.3f s "
                "(ratio %.3f); all %.0f transfers x 1 ms = %.3f s (ratio %.3f)\n",
                slow.tests, slow.held, slow.seconds, slowPackets, slowPackets / 1000.0,
                slow.seconds / (slowPackets / 1000.0), transfers, transfers / 1000.0,
                slow.seconds / (transfers / 1000.0));
    std::printf("TABLE|Instrument read overhead (255 kind-3 tests, no latency)|%.3f us per packet, "
                "%.1f us per test\n",
                fast.seconds * 1e6 / packets, fast.seconds * 1e6 / fast.tests);
    const double perTransferMs =
        slow.sleptTransfers ? slow.sleptSeconds * 1000 / slow.sleptTransfers : 0.0;
    const double readerOwn = slow.seconds - slow.sleptSeconds;
    std::printf("bench_read: the simulated bus slept %.3f s in %d transfers, %.3f ms per transfer "
                "(asked: 1 ms); the reader's own time beside it %.3f s, %.1f us per transfer\n",
                slow.sleptSeconds, slow.sleptTransfers, perTransferMs, readerOwn,
                slow.sleptTransfers ? readerOwn * 1e6 / slow.sleptTransfers : 0.0);
    std::printf(
        "TABLE|Read at 1 ms per transfer against packets x 1 ms (%d tests)|%.2f s vs %.2f s, "
        "ratio %.2f\n",
        slow.tests, slow.seconds, slowPackets / 1000.0, slow.seconds / (slowPackets / 1000.0));
    std::printf("TABLE|Of which the simulated bus's sleeps (asked 1 ms per transfer)|%.2f s, "
                "%.3f ms per transfer; reader's own time %.3f s (%.1f us per transfer)\n",
                slow.sleptSeconds, perTransferMs, readerOwn,
                slow.sleptTransfers ? readerOwn * 1e6 / slow.sleptTransfers : 0.0);
    return fast.held == fast.tests && slow.held == slow.tests ? 0 : 1;
}
