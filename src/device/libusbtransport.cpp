#include "libusbtransport.h"

#include <cerrno>
#include <usb.h>

std::unique_ptr<UsbTransport> createUsbTransport() {
    return std::make_unique<LibUsbTransport>();
}

LibUsbTransport::~LibUsbTransport() {
    close();
}

void LibUsbTransport::init() {
    usb_init();
}

int LibUsbTransport::findBusses() {
    return usb_find_busses();
}

int LibUsbTransport::findDevices() {
    return usb_find_devices();
}

QVector<UsbDeviceRef> LibUsbTransport::devices() {
    QVector<UsbDeviceRef> list;
    for (usb_bus *bus = usb_get_busses(); bus; bus = bus->next)
        for (struct usb_device *dev = bus->devices; dev; dev = dev->next)
            list.append({dev, dev->descriptor.idVendor, dev->descriptor.idProduct});
    return list;
}

int LibUsbTransport::open(const UsbDeviceRef &device) {
    close();
    // usb_open() only says "no handle"; errno still tells why (EACCES when
    // the device node is not ours).
    errno = 0;
    handle_ = usb_open(static_cast<struct usb_device *>(const_cast<void *>(device.device)));
    if (handle_)
        return 0;
    return errno ? -errno : -EIO;
}

int LibUsbTransport::setConfiguration(int configuration) {
    return handle_ ? usb_set_configuration(handle_, configuration) : -ENODEV;
}

int LibUsbTransport::claimInterface(int interface) {
    return handle_ ? usb_claim_interface(handle_, interface) : -ENODEV;
}

int LibUsbTransport::bulkWrite(int endpoint, const char *data, int size, int timeoutMs) {
    return handle_ ? usb_bulk_write(handle_, endpoint, data, size, timeoutMs) : -ENODEV;
}

int LibUsbTransport::bulkRead(int endpoint, char *data, int size, int timeoutMs) {
    return handle_ ? usb_bulk_read(handle_, endpoint, data, size, timeoutMs) : -ENODEV;
}

int LibUsbTransport::close() {
    if (!handle_)
        return 0;
    const int result = usb_close(handle_);
    handle_ = nullptr;
    return result;
}

QString LibUsbTransport::lastError() const {
    const char *text = usb_strerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}
