// What the operator is told of a COM number and of the port in force, over real
// links in a temporary folder and a device list made here. Links, dangling links,
// an open, a missing and a lost port are seen through the window in tst_port_list.

#include "serial/port_info.h"
#include "tests/support/files.h"

#include <QtTest>

class TestPortInfo : public QObject {
    Q_OBJECT
    QTemporaryDir m_temp;
    QString m_d = QDir(m_temp.path()).canonicalPath(); // "<d>" in the expected texts
    QStringList m_dirs{m_d + "/unused", m_d};          // the first has no ports/ at all
    QList<portinfo::Device> m_devices{{m_d + "/u0", "FT232R", "FTDI", "A50", ""},
                                      {"/dev/ttyS0", "", "", "", ""}};

    QString entry(int n) const { return portinfo::entryTip(m_dirs, n, m_devices); }
    QString state(QSerialPort::SerialPortError error, bool accessible, const char *device = "/u0",
                  bool present = true)
    {
        const auto failure = portinfo::failureOf(error, accessible, present);
        return portinfo::stateTip(m_dirs, {4, !error, m_d + device, "19200,N,8,1", failure, ""});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_d).mkpath("ports") && QFile(m_d + "/u0").open(QIODevice::WriteOnly));
        QVERIFY(QFile::link("u0", m_d + "/by-id") && QFile::link("../by-id", m_d + "/ports/COM4"));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const QString com4 = "COM4 → <d>/ports/COM4 → <d>/u0";
        QTest::newRow("by-id target") << entry(4) << com4 + " (FT232R, FTDI, serial A50)";
        QTest::newRow("short") << portinfo::entryDevice(m_dirs, 4, m_devices) << "<d>/u0 (FT232R)";
        QTest::newRow("default present") << entry(1) << "COM1 → /dev/ttyS0 (no details reported)";
        QTest::newRow("default absent") << entry(25) << "COM25 → /dev/ttyS24 (no such device)";
        const QString refused = com4 + ": could not be opened: ";
        // clang-format off
        QTest::newRow("permission") << state(QSerialPort::PermissionError, false) << refused + "permission denied. Add your user to the dialout group (sudo usermod -aG dialout $USER), then log in again";
        QTest::newRow("busy") << state(QSerialPort::PermissionError, true) << refused + "busy, held by another program";
        QTest::newRow("missing node") << state(QSerialPort::PermissionError, false, "/u0", false) << refused + "no such device";
        QTest::newRow("not ours") << portinfo::deviceTitle({"/dev/ttyS0", "", "", "", "", false}) << "/dev/ttyS0 (permission denied. Add your user to the dialout group (sudo usermod -aG dialout $USER), then log in again)";
        // clang-format on
    }

    void texts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected.replace("<d>", m_d));
    }

    // What sysfs and /dev say, read without opening: a USB adapter with its
    // details and stable name, a UART, and neither a port with no UART (type 0)
    // nor a terminal without a device.
    void sysfs()
    {
        const QString sys = m_d + "/sys", dev = m_d + "/dev";
        const QString usb = sys + "/devices/pci0/usb1/1-1";
        QVERIFY(QDir().mkpath(usb + "/1-1:1.0/ttyUSB0") && QDir().mkpath(sys + "/class/tty/tty1") &&
                QDir().mkpath(sys + "/class/tty/ttyUSB0") &&
                QDir().mkpath(sys + "/devices/platform/serial8250/tty/ttyS0") &&
                QDir().mkpath(dev + "/serial/by-id"));
        const QList<std::pair<QString, QByteArray>> files{{usb + "/idVendor", "0403\n"},
                                                          {usb + "/product", "FT232R USB UART\n"},
                                                          {usb + "/manufacturer", "FTDI\n"},
                                                          {usb + "/serial", "A50285BI\n"},
                                                          {dev + "/ttyUSB0", ""},
                                                          {dev + "/ttyS0", ""},
                                                          {dev + "/ttyS1", ""},
                                                          {sys + "/class/tty/ttyS0/type", "4\n"},
                                                          {sys + "/class/tty/ttyS1/type", "0\n"}};
        for (const auto &[path, text] : files) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()) && writeFile(path, text));
        }
        QVERIFY(
            QFile::link(usb + "/1-1:1.0/ttyUSB0", sys + "/class/tty/ttyUSB0/device") &&
            QFile::link(sys + "/devices/platform/serial8250", sys + "/class/tty/ttyS0/device") &&
            QFile::link(sys + "/devices/platform/serial8250", sys + "/class/tty/ttyS1/device") &&
            QFile::link("../../ttyUSB0", dev + "/serial/by-id/usb-FTDI_A50285BI-if00"));
        QStringList seen;
        for (const portinfo::Device &d : portinfo::detectedDevices(sys + "/class/tty", dev))
            seen << portinfo::deviceTitle(d) + " " + portinfo::linkTarget(d);
        QCOMPARE(seen.join('|').replace(m_d, "<d>"),
                 "<d>/dev/ttyS0 (no details reported) <d>/dev/ttyS0|<d>/dev/ttyUSB0 (FT232R USB "
                 "UART, FTDI, serial A50285BI) <d>/dev/serial/by-id/usb-FTDI_A50285BI-if00");
    }
};

QTEST_GUILESS_MAIN(TestPortInfo)
#include "tst_port_info.moc"
