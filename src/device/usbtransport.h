#ifndef USBTRANSPORT_H
#define USBTRANSPORT_H

#include <QString>
#include <QVector>
#include <QtGlobal>
#include <memory>

// One device as the USB library lists it: the library's own device record and
// the two ids of its descriptor.
struct UsbDeviceRef {
    const void *device = nullptr;
    quint16 vendorId = 0;
    quint16 productId = 0;
};

// The seam right under the libusb 0.1 calls the reader makes. Results follow
// that library: transfers return the byte count or a negative error code,
// open() returns 0 or a negative errno value. The reader holds at most one
// device open at a time, so the open handle stays inside the transport.
// Every call comes from the reader's thread.
class UsbTransport {
public:
    virtual ~UsbTransport();

    virtual void init() = 0;       // usb_init
    virtual int findBusses() = 0;  // usb_find_busses
    virtual int findDevices() = 0; // usb_find_devices
    // Every device of every bus of usb_get_busses, in the library's order.
    virtual QVector<UsbDeviceRef> devices() = 0;
    virtual int open(const UsbDeviceRef &device) = 0;    // usb_open
    virtual int setConfiguration(int configuration) = 0; // usb_set_configuration
    virtual int claimInterface(int interface) = 0;       // usb_claim_interface
    virtual int bulkWrite(int endpoint, const char *data, int size, int timeoutMs) = 0;
    virtual int bulkRead(int endpoint, char *data, int size, int timeoutMs) = 0;
    virtual int close() = 0; // usb_close
    // The library's text of its last error (usb_strerror); empty when it has none.
    virtual QString lastError() const = 0;
};

// The platform's real instrument link (libusb 0.1 on Linux, libusb-1.0 with
// WinUSB on Windows): the build compiles one of the two.
std::unique_ptr<UsbTransport> createUsbTransport();

#endif // USBTRANSPORT_H
