#include "device/libusb1transport.h"

#include <QtTest>
#include <cerrno>
#include <libusb.h>

// Windows: libusb-1.0's results as the reader knows them from libusb 0.1.

class TestLibUsb1Transport : public QObject {
    Q_OBJECT
private slots:
    void errors_data();
    void errors();
    void transfers_data();
    void transfers();
    void noDriverSaysWhatToDo();
    void noBusIsNoInstrument();
};

void TestLibUsb1Transport::errors_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("opening");
    QTest::addColumn<int>("expected");
    QTest::newRow("unplugged: the reader stops") << int(LIBUSB_ERROR_NO_DEVICE) << false << -ENODEV;
    QTest::newRow("timeout") << int(LIBUSB_ERROR_TIMEOUT) << false << -ETIMEDOUT;
    QTest::newRow("stall") << int(LIBUSB_ERROR_PIPE) << false << -EPIPE;
    QTest::newRow("in use, no permission to grant") << int(LIBUSB_ERROR_ACCESS) << true << -EBUSY;
    QTest::newRow("no WinUSB driver") << int(LIBUSB_ERROR_NOT_SUPPORTED) << true << -ENOSYS;
    QTest::newRow("no driver at all") << int(LIBUSB_ERROR_NOT_FOUND) << true << -ENOSYS;
    QTest::newRow("unsupported transfer") << int(LIBUSB_ERROR_NOT_SUPPORTED) << false << -ENOENT;
    QTest::newRow("unknown") << int(LIBUSB_ERROR_OTHER) << false << -EIO;
}

void TestLibUsb1Transport::errors() {
    QFETCH(int, error);
    QFETCH(bool, opening);
    QFETCH(int, expected);
    QCOMPARE(LibUsb1Transport::errnoOf(error, opening), expected);
}

void TestLibUsb1Transport::transfers_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("transferred");
    QTest::addColumn<int>("expected");
    QTest::newRow("whole") << int(LIBUSB_SUCCESS) << 64 << 64;
    QTest::newRow("short reply") << int(LIBUSB_SUCCESS) << 5 << 5;
    QTest::newRow("timeout after some bytes") << int(LIBUSB_ERROR_TIMEOUT) << 32 << 32;
    QTest::newRow("timeout, nothing") << int(LIBUSB_ERROR_TIMEOUT) << 0 << -ETIMEDOUT;
    QTest::newRow("gone mid-transfer") << int(LIBUSB_ERROR_NO_DEVICE) << 16 << -ENODEV;
}

void TestLibUsb1Transport::transfers() {
    QFETCH(int, error);
    QFETCH(int, transferred);
    QFETCH(int, expected);
    QCOMPARE(LibUsb1Transport::transferResult(error, transferred), expected);
}

void TestLibUsb1Transport::noDriverSaysWhatToDo() {
    const QString text = LibUsb1Transport::textOf(LIBUSB_ERROR_NOT_SUPPORTED, true);
    QVERIFY2(text.contains(QLatin1String("WinUSB")) &&
                 text.contains(QLatin1String("Device Manager")),
             qPrintable(text));
    QVERIFY(LibUsb1Transport::textOf(LIBUSB_ERROR_TIMEOUT).contains(QLatin1String("timed out")));
}

// No USB bus (Wine, or no controller): no device, and nothing opens.
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
