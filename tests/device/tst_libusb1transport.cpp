#include "device/libusb1transport.h"

#include <QtTest>
#include <cerrno>
#include <libusb.h>

// Windows: libusb-1.0's results as the reader knows them from libusb 0.1.

class TestLibUsb1Transport : public QObject {
    Q_OBJECT
private slots:
    void results();
    void noBusIsNoInstrument();
};

void TestLibUsb1Transport::results() {
    // libusb's error, while opening (1) or not, what the reader gets.
    const int errors[][3] = {
        {LIBUSB_ERROR_NO_DEVICE, false, -ENODEV}, // unplugged: the reader stops
        {LIBUSB_ERROR_TIMEOUT, false, -ETIMEDOUT},
        {LIBUSB_ERROR_PIPE, false, -EPIPE},           // stall
        {LIBUSB_ERROR_ACCESS, true, -EBUSY},          // in use, no permission to grant
        {LIBUSB_ERROR_NOT_SUPPORTED, true, -ENOSYS},  // no WinUSB driver
        {LIBUSB_ERROR_NOT_FOUND, true, -ENOSYS},      // no driver at all
        {LIBUSB_ERROR_NOT_SUPPORTED, false, -ENOENT}, // unsupported transfer
        {LIBUSB_ERROR_OTHER, false, -EIO},
    };
    for (const auto &e : errors)
        QCOMPARE(LibUsb1Transport::errnoOf(e[0], e[1] != 0), e[2]);
    // A transfer's error and the bytes it moved: what the reader gets.
    const int transfers[][3] = {
        {LIBUSB_SUCCESS, 64, 64},
        {LIBUSB_SUCCESS, 5, 5},                // short reply
        {LIBUSB_ERROR_TIMEOUT, 32, 32},        // timeout after some bytes
        {LIBUSB_ERROR_TIMEOUT, 0, -ETIMEDOUT}, // timeout, nothing
        {LIBUSB_ERROR_NO_DEVICE, 16, -ENODEV}, // gone mid-transfer
    };
    for (const auto &t : transfers)
        QCOMPARE(LibUsb1Transport::transferResult(t[0], t[1]), t[2]);
    const QString text = LibUsb1Transport::textOf(LIBUSB_ERROR_NOT_SUPPORTED, true);
    QVERIFY2(text.contains("WinUSB") && text.contains("Device Manager"), qPrintable(text));
    QVERIFY(LibUsb1Transport::textOf(LIBUSB_ERROR_TIMEOUT).contains("timed out"));
}

// No USB bus (Wine, or no controller): no instrument, and nothing opens.
void TestLibUsb1Transport::noBusIsNoInstrument() {
    LibUsb1Transport transport;
    transport.init();
    transport.findBusses();
    transport.findDevices();
    for (const UsbDeviceRef &device : transport.devices())
        QVERIFY(device.vendorId != 0x03EB ||
                (device.productId != 0x0010 && device.productId != 0x0011));
    QVERIFY(transport.open(UsbDeviceRef{}) < 0);
    QCOMPARE(transport.bulkRead(0x81, nullptr, 0, 1000), -ENODEV);
}

QTEST_GUILESS_MAIN(TestLibUsb1Transport)
#include "tst_libusb1transport.moc"
