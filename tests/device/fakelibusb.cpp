#include "fakelibusb.h"

#include <cerrno>
#include <memory>
#include <usb.h>
#include <vector>

SimulatorTransport *fakeUsbBus = nullptr;
struct usb_bus *usb_busses = nullptr;

struct usb_dev_handle {
    int unused = 0;
};

namespace {
usb_bus theBus;
std::vector<std::unique_ptr<struct usb_device>> listed;
usb_dev_handle theHandle;
QByteArray errorText;
} // namespace

void usb_init(void) {}

int usb_find_busses(void) {
    return 0;
}

int usb_find_devices(void) {
    fakeUsbBus->findDevices();
    listed.clear();
    struct usb_device *previous = nullptr;
    for (const UsbDeviceRef &ref : fakeUsbBus->devices()) {
        auto dev = std::make_unique<struct usb_device>();
        dev->bus = &theBus;
        dev->descriptor.idVendor = ref.vendorId;
        dev->descriptor.idProduct = ref.productId;
        dev->dev = const_cast<void *>(ref.device);
        if (previous)
            previous->next = dev.get();
        previous = dev.get();
        listed.push_back(std::move(dev));
    }
    theBus.devices = listed.empty() ? nullptr : listed.front().get();
    usb_busses = &theBus;
    return 0;
}

struct usb_bus *usb_get_busses(void) {
    return usb_busses;
}

usb_dev_handle *usb_open(struct usb_device *dev) {
    const int result =
        fakeUsbBus->open({dev->dev, dev->descriptor.idVendor, dev->descriptor.idProduct});
    if (result == 0)
        return &theHandle;
    errno = -result;
    return nullptr;
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
