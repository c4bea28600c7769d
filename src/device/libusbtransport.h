#ifndef LIBUSBTRANSPORT_H
#define LIBUSBTRANSPORT_H

#include "device/usbtransport.h"

struct usb_dev_handle;

// The real instrument link: the libusb 0.1 library, call for call.
class LibUsbTransport : public UsbTransport {
public:
    LibUsbTransport() = default;
    ~LibUsbTransport() override;
    LibUsbTransport(const LibUsbTransport &) = delete;
    LibUsbTransport &operator=(const LibUsbTransport &) = delete;

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
    usb_dev_handle *handle_ = nullptr;
};

#endif // LIBUSBTRANSPORT_H
