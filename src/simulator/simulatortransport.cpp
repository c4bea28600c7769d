#include "simulatortransport.h"

#include "device/viewerusb.h"

#include <QElapsedTimer>
#include <QThread>
#include <cerrno>

int SimulatorTransport::addInstrument(const SimulatedInstrument::Setup &setup) {
    auto instrument = std::make_unique<SimulatedInstrument>(setup);
    const quint16 product = instrument->productId();
    const int position = addForeignDevice(ViewerUsb::VendorId, product);
    QMutexLocker lock(&mutex_);
    devices_[size_t(position)]->instrument = std::move(instrument);
    return position;
}

int SimulatorTransport::addForeignDevice(quint16 vendorId, quint16 productId) {
    QMutexLocker lock(&mutex_);
    auto device = std::make_unique<Device>();
    device->vendorId = vendorId;
    device->productId = productId;
    device->node =
        QStringLiteral("/dev/bus/usb/001/%1").arg(devices_.size() + 2, 3, 10, QChar('0'));
    devices_.push_back(std::move(device));
    return int(devices_.size()) - 1;
}

void SimulatorTransport::setPlugged(int position, bool plugged) {
    QMutexLocker lock(&mutex_);
    if (SimulatedInstrument *instrument = devices_.at(size_t(position))->instrument.get())
        instrument->setPlugged(plugged);
}

void SimulatorTransport::setLatencyUs(int latencyUs) {
    QMutexLocker lock(&mutex_);
    latencyUs_ = latencyUs;
}

void SimulatorTransport::setTracing(bool on) {
    QMutexLocker lock(&mutex_);
    tracing_ = on;
}

void SimulatorTransport::setTransferHook(std::function<void()> hook) {
    QMutexLocker lock(&mutex_);
    hook_ = std::move(hook);
}

qint64 SimulatorTransport::sleptUs() const {
    QMutexLocker lock(&mutex_);
    return sleptUs_;
}

int SimulatorTransport::sleptTransfers() const {
    QMutexLocker lock(&mutex_);
    return sleptTransfers_;
}

QStringList SimulatorTransport::trace() const {
    QMutexLocker lock(&mutex_);
    return trace_;
}

void SimulatorTransport::clearTrace() {
    QMutexLocker lock(&mutex_);
    trace_.clear();
}

int SimulatorTransport::count(const QString &tracePrefix) const {
    QMutexLocker lock(&mutex_);
    int n = 0;
    for (const QString &line : trace_)
        if (line.startsWith(tracePrefix))
            ++n;
    return n;
}

QSet<int> SimulatorTransport::timeouts() const {
    QMutexLocker lock(&mutex_);
    return timeouts_;
}

int SimulatorTransport::badEndpoints() const {
    QMutexLocker lock(&mutex_);
    return badEndpoints_;
}

quint8 SimulatorTransport::readKind(int position) const {
    QMutexLocker lock(&mutex_);
    const SimulatedInstrument *instrument = devices_.at(size_t(position))->instrument.get();
    return instrument ? instrument->readKind() : 0;
}

void SimulatorTransport::init() {}

int SimulatorTransport::findBusses() {
    return 0;
}

int SimulatorTransport::findDevices() {
    QMutexLocker lock(&mutex_);
    listed_.clear();
    for (const auto &device : devices_)
        if (!device->instrument || device->instrument->plugged())
            listed_.append({device.get(), device->vendorId, device->productId});
    return 0;
}

QVector<UsbDeviceRef> SimulatorTransport::devices() {
    QMutexLocker lock(&mutex_);
    return listed_;
}

int SimulatorTransport::open(const UsbDeviceRef &ref) {
    QMutexLocker lock(&mutex_);
    record(QStringLiteral("open"));
    open_ = nullptr;
    Device *device = nullptr;
    for (const auto &d : devices_)
        if (d.get() == ref.device)
            device = d.get();
    if (!device)
        return fail(-ENODEV, QStringLiteral("failed to open device: No such device"));
    SimulatedInstrument *instrument = device->instrument.get();
    if (!instrument || !instrument->plugged())
        return fail(-ENODEV, QStringLiteral("failed to open %1: No such device").arg(device->node));
    if (instrument->setup().access == SimulatedInstrument::Access::Denied)
        return fail(-EACCES,
                    QStringLiteral("failed to open %1: Permission denied").arg(device->node));
    open_ = device;
    instrument->opened();
    return 0;
}

int SimulatorTransport::setConfiguration(int configuration) {
    QMutexLocker lock(&mutex_);
    record(QStringLiteral("config %1").arg(configuration));
    if (!open_)
        return fail(-EBADF, QStringLiteral("could not set config: Bad file descriptor"));
    if (open_->instrument->setup().access == SimulatedInstrument::Access::ReadOnly)
        return fail(
            -EPERM,
            QStringLiteral("could not set config %1: Operation not permitted").arg(configuration));
    if (configuration != ViewerUsb::Configuration)
        return fail(-EINVAL,
                    QStringLiteral("could not set config %1: Invalid argument").arg(configuration));
    return 0;
}

int SimulatorTransport::claimInterface(int interface) {
    QMutexLocker lock(&mutex_);
    record(QStringLiteral("claim %1").arg(interface));
    if (!open_)
        return fail(-EBADF, QStringLiteral("could not claim interface: Bad file descriptor"));
    if (open_->instrument->setup().access == SimulatedInstrument::Access::ReadOnly)
        return fail(
            -EPERM,
            QStringLiteral("could not claim interface %1: Operation not permitted").arg(interface));
    if (interface != ViewerUsb::Interface)
        return fail(
            -EINVAL,
            QStringLiteral("could not claim interface %1: Invalid argument").arg(interface));
    return 0;
}

int SimulatorTransport::bulkWrite(int endpoint, const char *data, int size, int timeoutMs) {
    pause();
    QMutexLocker lock(&mutex_);
    timeouts_.insert(timeoutMs);
    if (tracing_)
        record(QStringLiteral("w ") + QString::fromLatin1(QByteArray(data, size).toHex()));
    if (!open_)
        return fail(-EBADF, QStringLiteral("error writing to bulk endpoint: Bad file descriptor"));
    if (endpoint != ViewerUsb::OutEndpoint) {
        ++badEndpoints_;
        return fail(
            -EINVAL,
            QStringLiteral("error writing to bulk endpoint %1: Invalid argument").arg(endpoint));
    }
    const SimulatedInstrument::Result result = open_->instrument->write(data, size);
    return result.value < 0 ? fail(result.value, result.error) : result.value;
}

int SimulatorTransport::bulkRead(int endpoint, char *data, int size, int timeoutMs) {
    pause();
    QMutexLocker lock(&mutex_);
    timeouts_.insert(timeoutMs);
    if (tracing_)
        record(QStringLiteral("r %1").arg(size));
    if (!open_)
        return fail(-EBADF,
                    QStringLiteral("error reading from bulk endpoint: Bad file descriptor"));
    if (endpoint != ViewerUsb::InEndpoint) {
        ++badEndpoints_;
        return fail(-EINVAL,
                    QStringLiteral("error reading from bulk endpoint 0x%1: Invalid argument")
                        .arg(endpoint, 0, 16));
    }
    const SimulatedInstrument::Result result = open_->instrument->read(data, size);
    return result.value < 0 ? fail(result.value, result.error) : result.value;
}

int SimulatorTransport::close() {
    QMutexLocker lock(&mutex_);
    record(QStringLiteral("close"));
    open_ = nullptr;
    return 0;
}

QString SimulatorTransport::lastError() const {
    QMutexLocker lock(&mutex_);
    return lastError_;
}

int SimulatorTransport::fail(int error, const QString &text) {
    lastError_ = text;
    return error;
}

void SimulatorTransport::record(const QString &line) {
    if (tracing_)
        trace_.append(line);
}

void SimulatorTransport::pause() {
    int latency = 0;
    std::function<void()> hook;
    {
        QMutexLocker lock(&mutex_);
        latency = latencyUs_;
        hook = hook_;
    }
    if (hook)
        hook();
    if (latency <= 0)
        return;
    QElapsedTimer slept;
    slept.start();
    QThread::usleep(ulong(latency));
    const qint64 us = slept.nsecsElapsed() / 1000;
    QMutexLocker lock(&mutex_);
    sleptUs_ += us;
    ++sleptTransfers_;
}
