// libusb 0.1 over a simulated bus, for the real LibUsbTransport: the test
// sets fakeUsbBus first.

#include "simulator/simulatortransport.h"

#include <cerrno>
#include <usb.h>
#include <vector>

SimulatorTransport *fakeUsbBus = nullptr;

struct usb_dev_handle {};

static usb_bus theBus;
static std::vector<struct usb_device> listed;
static usb_dev_handle theHandle;
static QByteArray errorText;

void usb_init(void) {}

int usb_find_busses(void) {
    return 0;
}

int usb_find_devices(void) {
    fakeUsbBus->findDevices();
    const QVector<UsbDeviceRef> refs = fakeUsbBus->devices();
    listed.assign(size_t(refs.size()), {});
    for (int i = 0; i < refs.size(); ++i) {
        listed[size_t(i)].next = i + 1 < refs.size() ? &listed[size_t(i) + 1] : nullptr;
        listed[size_t(i)].descriptor.idVendor = refs[i].vendorId;
        listed[size_t(i)].descriptor.idProduct = refs[i].productId;
        listed[size_t(i)].dev = const_cast<void *>(refs[i].device);
    }
    theBus.devices = listed.empty() ? nullptr : listed.data();
    return 0;
}

struct usb_bus *usb_get_busses(void) {
    return &theBus;
}

usb_dev_handle *usb_open(struct usb_device *dev) {
    const int result =
        fakeUsbBus->open({dev->dev, dev->descriptor.idVendor, dev->descriptor.idProduct});
    errno = -result;
    return result == 0 ? &theHandle : nullptr;
}

int usb_set_configuration(usb_dev_handle *, int configuration) {
    return fakeUsbBus->setConfiguration(configuration);
}

int usb_claim_interface(usb_dev_handle *, int interface) {
    return fakeUsbBus->claimInterface(interface);
}

int usb_bulk_write(usb_dev_handle *, int ep, const char *bytes, int size, int timeout) {
    return fakeUsbBus->bulkWrite(ep, bytes, size, timeout);
}

int usb_bulk_read(usb_dev_handle *, int ep, char *bytes, int size, int timeout) {
    return fakeUsbBus->bulkRead(ep, bytes, size, timeout);
}

int usb_close(usb_dev_handle *) {
    return fakeUsbBus->close();
}

char *usb_strerror(void) {
    errorText = fakeUsbBus->lastError().toLocal8Bit();
    return errorText.data();
}
