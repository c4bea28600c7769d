#include "libusb1transport.h"

#include <QCoreApplication>
#include <cerrno>
#include <libusb.h>

std::unique_ptr<UsbTransport> createUsbTransport() {
    return std::make_unique<LibUsb1Transport>();
}

LibUsb1Transport::~LibUsb1Transport() {
    close();
    freeList();
    if (context_)
        libusb_exit(context_);
}

void LibUsb1Transport::init() {
    if (!context_ && libusb_init(&context_) != LIBUSB_SUCCESS)
        context_ = nullptr;
}

int LibUsb1Transport::findBusses() {
    return context_ ? 0 : fail(LIBUSB_ERROR_NOT_SUPPORTED);
}

// The list stays referenced until the next scan: the reader keeps the
// device it found last and opens it from there.
int LibUsb1Transport::findDevices() {
    if (!context_)
        return fail(LIBUSB_ERROR_NOT_SUPPORTED);
    freeList();
    const ssize_t count = libusb_get_device_list(context_, &list_);
    if (count < 0) {
        list_ = nullptr;
        return fail(int(count));
    }
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list_[i], &descriptor) == LIBUSB_SUCCESS)
            devices_.append({list_[i], descriptor.idVendor, descriptor.idProduct});
    }
    return int(count);
}

QVector<UsbDeviceRef> LibUsb1Transport::devices() {
    return devices_;
}

void LibUsb1Transport::freeList() {
    devices_.clear();
    if (list_)
        libusb_free_device_list(list_, 1);
    list_ = nullptr;
}

int LibUsb1Transport::open(const UsbDeviceRef &device) {
    close();
    auto *dev = static_cast<libusb_device *>(const_cast<void *>(device.device));
    const int result = dev ? libusb_open(dev, &handle_) : LIBUSB_ERROR_NO_DEVICE;
    if (result == LIBUSB_SUCCESS)
        return 0;
    handle_ = nullptr;
    return fail(result, true);
}

int LibUsb1Transport::setConfiguration(int configuration) {
    if (!handle_)
        return fail(LIBUSB_ERROR_NO_DEVICE);
    // WinUSB cannot switch configurations; the instrument has only the one.
    int active = 0;
    if (libusb_get_configuration(handle_, &active) == LIBUSB_SUCCESS && active == configuration)
        return 0;
    const int result = libusb_set_configuration(handle_, configuration);
    return result == LIBUSB_SUCCESS ? 0 : fail(result);
}

int LibUsb1Transport::claimInterface(int interface) {
    if (!handle_)
        return fail(LIBUSB_ERROR_NO_DEVICE);
    const int result = libusb_claim_interface(handle_, interface);
    return result == LIBUSB_SUCCESS ? 0 : fail(result);
}

int LibUsb1Transport::bulkWrite(int endpoint, const char *data, int size, int timeoutMs) {
    if (!handle_)
        return fail(LIBUSB_ERROR_NO_DEVICE);
    int transferred = 0;
    const int error =
        libusb_bulk_transfer(handle_, static_cast<unsigned char>(endpoint),
                             reinterpret_cast<unsigned char *>(const_cast<char *>(data)), size,
                             &transferred, static_cast<unsigned>(timeoutMs));
    const int result = transferResult(error, transferred);
    return result < 0 ? fail(error) : result;
}

int LibUsb1Transport::bulkRead(int endpoint, char *data, int size, int timeoutMs) {
    if (!handle_)
        return fail(LIBUSB_ERROR_NO_DEVICE);
    int transferred = 0;
    const int error = libusb_bulk_transfer(handle_, static_cast<unsigned char>(endpoint),
                                           reinterpret_cast<unsigned char *>(data), size,
                                           &transferred, static_cast<unsigned>(timeoutMs));
    const int result = transferResult(error, transferred);
    return result < 0 ? fail(error) : result;
}

int LibUsb1Transport::close() {
    if (!handle_)
        return 0;
    libusb_close(handle_);
    handle_ = nullptr;
    return 0;
}

QString LibUsb1Transport::lastError() const {
    return lastError_ ? textOf(lastError_, lastOpening_) : QString();
}

int LibUsb1Transport::fail(int libusbError, bool opening) {
    lastError_ = libusbError;
    lastOpening_ = opening;
    return errnoOf(libusbError, opening);
}

int LibUsb1Transport::transferResult(int libusbError, int transferred) {
    // As libusb 0.1 does: a timeout after some bytes is a short transfer.
    if (libusbError == LIBUSB_SUCCESS || (libusbError == LIBUSB_ERROR_TIMEOUT && transferred > 0))
        return transferred;
    return errnoOf(libusbError);
}

int LibUsb1Transport::errnoOf(int libusbError, bool opening) {
    switch (libusbError) {
    case LIBUSB_SUCCESS:
        return 0;
    case LIBUSB_ERROR_IO:
        return -EIO;
    case LIBUSB_ERROR_INVALID_PARAM:
        return -EINVAL;
    // WinUSB opens a device for one program at a time: there is no
    // permission to grant, the instrument is busy.
    case LIBUSB_ERROR_ACCESS:
    case LIBUSB_ERROR_BUSY:
        return -EBUSY;
    // The reader stops sending once the instrument has gone.
    case LIBUSB_ERROR_NO_DEVICE:
        return -ENODEV;
    case LIBUSB_ERROR_NOT_FOUND:
    case LIBUSB_ERROR_NOT_SUPPORTED:
        return opening ? -ENOSYS : -ENOENT;
    case LIBUSB_ERROR_TIMEOUT:
        return -ETIMEDOUT;
    case LIBUSB_ERROR_OVERFLOW:
        return -EOVERFLOW;
    case LIBUSB_ERROR_PIPE:
        return -EPIPE;
    case LIBUSB_ERROR_INTERRUPTED:
        return -EINTR;
    case LIBUSB_ERROR_NO_MEM:
        return -ENOMEM;
    default:
        return -EIO;
    }
}

QString LibUsb1Transport::textOf(int libusbError, bool opening) {
    switch (errnoOf(libusbError, opening)) {
    case -ENOSYS:
        return QCoreApplication::translate(
            "LibUsb1Transport",
            "no WinUSB driver is bound to the instrument. In the Device Manager choose Update "
            "driver for it, then Browse my computer, Let me pick, Universal Serial Bus devices, "
            "WinUsb Device; unplug the instrument and plug it in again (see the manual, "
            "\"Instrument access\")");
    case -EBUSY:
        return QCoreApplication::translate(
            "LibUsb1Transport", "the instrument is in use by another program; close it and read "
                                "again");
    default:
        return QString::fromUtf8(libusb_strerror(static_cast<libusb_error>(libusbError)));
    }
}
