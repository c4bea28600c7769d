#ifndef LIBUSB1TRANSPORT_H
#define LIBUSB1TRANSPORT_H

#include "device/usbtransport.h"

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

// The instrument link on Windows: libusb-1.0 over the WinUSB driver, with the
// results turned into what the libusb 0.1 calls give on Linux, so the reader
// above the seam is the same code on both systems.
class LibUsb1Transport : public UsbTransport {
public:
    LibUsb1Transport() = default;
    ~LibUsb1Transport() override;
    LibUsb1Transport(const LibUsb1Transport &) = delete;
    LibUsb1Transport &operator=(const LibUsb1Transport &) = delete;

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

    // A libusb-1.0 error code as the negative errno value the 0.1 calls
    // return; opening gives -ENOSYS when no WinUSB driver is bound.
    static int errnoOf(int libusbError, bool opening = false);
    // The text lastError() gives for it: what to do where the user can act.
    static QString textOf(int libusbError, bool opening = false);
    // A bulk transfer's result: the bytes moved, or the negative errno value.
    static int transferResult(int libusbError, int transferred);

private:
    int fail(int libusbError, bool opening = false);
    void freeList();

    libusb_context *context_ = nullptr;
    libusb_device **list_ = nullptr;
    QVector<UsbDeviceRef> devices_;
    libusb_device_handle *handle_ = nullptr;
    int lastError_ = 0;
    bool lastOpening_ = false;
};

#endif // LIBUSB1TRANSPORT_H
