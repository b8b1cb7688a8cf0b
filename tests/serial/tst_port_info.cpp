// What the operator is told of a COM number and of the port in force, over real
// links in a temporary folder and a device list made here. Links, dangling links,
// an open, a missing and a lost port are seen through the window in tst_port_list.

#include "serial/port_info.h"

#include <QtTest>

class TestPortInfo : public QObject {
    Q_OBJECT
    QTemporaryDir m_temp;
    QString m_d = QDir(m_temp.path()).canonicalPath(); // "<d>" in the expected texts
    QStringList m_dirs{m_d + "/unused", m_d};          // the first has no ports/ at all
    QList<portinfo::Device> m_devices{{m_d + "/u0", "FT232R", "FTDI", "A50", ""},
                                      {"/dev/ttyS0", "", "", "", ""}};

    QString entry(int n) const { return portinfo::entryTip(m_dirs, n, m_devices); }
    QString state(QSerialPort::SerialPortError error, bool accessible, const char *device = "/u0")
    {
        const auto failure = portinfo::failureOf(error, accessible);
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
        // clang-format on
    }

    void texts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected.replace("<d>", m_d));
    }
};

QTEST_GUILESS_MAIN(TestPortInfo)
#include "tst_port_info.moc"
