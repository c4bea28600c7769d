#ifndef SIMULATORTRANSPORT_H
#define SIMULATORTRANSPORT_H

#include "device/usbtransport.h"
#include "simulator/simulatedinstrument.h"

#include <QMutex>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// A USB bus with simulated instruments (and any other devices) on it, seen
// through the same calls as the real library. It keeps a trace of what the
// host did, for tests: "open", "config N", "claim N", "close", "w <hex>" for
// each write and "r <size>" for each read. The reader thread makes the calls;
// other threads may inspect or plug and unplug between reads.
class SimulatorTransport : public UsbTransport {
public:
    SimulatorTransport() = default;

    // Adds a device at the end of the bus; returns its position.
    int addInstrument(const SimulatedInstrument::Setup &setup);
    int addForeignDevice(quint16 vendorId, quint16 productId);
    void setPlugged(int position, bool plugged);
    void setLatencyUs(int latencyUs);
    void setTracing(bool on);
    // Called on the caller's thread before every bulk transfer, outside the
    // bus's lock: a test can hold the reader there while it works.
    void setTransferHook(std::function<void()> hook);
    // What the delays of the transfers really cost (the sleep overshoots):
    // total microseconds slept and the number of transfers that slept.
    qint64 sleptUs() const;
    int sleptTransfers() const;

    QStringList trace() const;
    void clearTrace();
    int count(const QString &tracePrefix) const;
    // Timeouts the host gave, and transfers it made to unknown endpoints.
    QSet<int> timeouts() const;
    int badEndpoints() const;
    quint8 readKind(int position) const;

    void init() override;
    int findBusses() override;
    int findDevices() override;
    QVector<UsbDeviceRef> devices() override;
    int open(const UsbDeviceRef &device) override;
    int setConfiguration(int configuration) override;
    int claimInterface(int interface) override;
    int bulkWrite(int endpoint, const char *data, int size, int timeoutMs) override;
    int bulkRead(int endpoint, char *data, int size, int timeoutMs) override;
    int close() override;
    QString lastError() const override;

private:
    struct Device {
        quint16 vendorId = 0;
        quint16 productId = 0;
        std::unique_ptr<SimulatedInstrument> instrument; // null: not ours
        QString node;
    };
    int fail(int error, const QString &text);
    void record(const QString &line);
    void pause();

    mutable QMutex mutex_;
    std::vector<std::unique_ptr<Device>> devices_;
    QVector<UsbDeviceRef> listed_;
    Device *open_ = nullptr;
    QString lastError_;
    int latencyUs_ = 0;
    std::function<void()> hook_;
    qint64 sleptUs_ = 0;
    int sleptTransfers_ = 0;
    bool tracing_ = true;
    QStringList trace_;
    QSet<int> timeouts_;
    int badEndpoints_ = 0;
};

#endif // SIMULATORTRANSPORT_H
