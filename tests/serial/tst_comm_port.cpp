// The serial port component against real pseudo-terminals.

#include "serial/comm_port.h"
#include "tests/support/port_holder_process.h"
#include "tests/support/pty.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <termios.h>
#include <ctime>

namespace {
constexpr int kPort = 3;
constexpr int kSettleMs = 50; // a pty hands bytes to the other side through a work queue
const QString kKept = QStringLiteral("2400,O,7,2");

QByteArray everyByte()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

// Many kernels force 8 data bits and no parity on a pseudo-terminal.
bool ptyKeepsFraming()
{
    Pty probe;
    termios tio{};
    tcgetattr(probe.slaveFd(), &tio);
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | CS7 | PARENB;
    tcsetattr(probe.slaveFd(), TCSANOW, &tio);
    tcgetattr(probe.slaveFd(), &tio);
    return (tio.c_cflag & CSIZE) == CS7 && (tio.c_cflag & PARENB);
}

// Bytes reach the driver without the event loop having a turn; `loop` gives it one.
bool arrive(Pty &pty, const QByteArray &bytes, bool loop = false)
{
    const bool written = pty.writeToMaster(bytes);
    QThread::msleep(kSettleMs);
    if (loop)
        QTest::qWait(kSettleMs);
    return written;
}
} // namespace

class TestCommPort : public QObject {
    Q_OBJECT

private slots:
    void init();
    void lineSettings_data();
    void lineSettings();
    void portNumbers_data();
    void portNumbers();
    void bytesPassUnchanged_data();
    void bytesPassUnchanged();
    void inputLenAndInBufferCount();
    void portTakenElsewhere_data();
    void portTakenElsewhere();
    void deviceVanishingWhileOpen_data();
    void deviceVanishingWhileOpen();

private:
    bool openOn(CommPort &port, Pty &pty);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Pty> m_pty;
    std::unique_ptr<CommPort> m_port;
};

void TestCommPort::init()
{
    m_port.reset(); // before the line it may be open on
    m_pty.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    m_pty = std::make_unique<Pty>();
    m_port = std::make_unique<CommPort>(QStringList{m_dir->path()});
    QVERIFY(m_pty->isOpen());
}

// Through <dir>/ports/COM3, a link to the pty.
bool TestCommPort::openOn(CommPort &port, Pty &pty)
{
    return pty.linkAs(m_dir->path(), kPort) && port.setCommPort(kPort) &&
           port.setSettings(QStringLiteral("19200,N,8,1")) && port.setPortOpen(true) &&
           port.portOpen();
}

void TestCommPort::lineSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack"); // the settings in force afterwards
    QTest::addColumn<int>("speed");        // on the device; 0: not opened
    QTest::addColumn<int>("frame");        // size, parity and stop bits on the device
    const auto row = [](const char *text, const QString &readBack, int speed = 0, int frame = 0) {
        QTest::addRow(readBack == kKept ? "refused \"%s\"" : "%s", text)
            << QString(text) << readBack << speed << frame;
    };
    row("19200,N,8,1", "19200,N,8,1", B19200, CS8);
    row("9600,n,8,1", "9600,N,8,1", B9600, CS8);
    row("4800,E,7,2", "4800,E,7,2", B4800, CS7 | PARENB | CSTOPB);
    row("115200,O,5,1", "115200,O,5,1", B115200, CS5 | PARENB | PARODD);
    row("1200,O,6,2", "1200,O,6,2", B1200, CS6 | PARENB | PARODD | CSTOPB);
    row("31250,N,8,1", "31250,N,8,1"); // no termios speed for it
    for (const char *bad : {"", "19200", "19200,N,8", "19200,N,8,1,", "0,N,8,1", "-9600,N,8,1",
                            "99999999999,N,8,1", " 9600,N,8,1", "9600,M,8,1", "9600,NE,8,1",
                            "9600,N,9,1", "9600,N,4,1", "9600,N,8,1.5", "9600,N,8,3"})
        row(bad, kKept);
}

void TestCommPort::lineSettings()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QFETCH(int, speed);
    QFETCH(int, frame);
    QVERIFY(m_port->setSettings(kKept));
    QCOMPARE(m_port->setSettings(text), readBack != kKept);
    QCOMPARE(m_port->settings(), readBack);
    QCOMPARE(m_port->property("Settings").toString(), readBack);
    if (speed == 0)
        return;
    QVERIFY(m_pty->linkAs(m_dir->path(), kPort) && m_port->setCommPort(kPort));
    QVERIFY(m_port->setPortOpen(true) && m_port->setPortOpen(true));         // again: no change
    QVERIFY(!m_port->setSettings(kKept) && !m_port->setCommPort(kPort + 1)); // fixed while open
    QCOMPARE(m_port->settings(), readBack);
    QCOMPARE(m_port->commPort(), kPort);
    QVERIFY(m_port->setRThreshold(21) && m_port->setInputMode(1)); // only the line is fixed
    termios tio{};
    QCOMPARE(tcgetattr(m_pty->slaveFd(), &tio), 0);
    QCOMPARE(int(cfgetospeed(&tio)), speed);
    QCOMPARE(int(cfgetispeed(&tio)), speed);
    const int checked = CSTOPB | CRTSCTS | (ptyKeepsFraming() ? CSIZE | PARENB | PARODD : 0);
    QCOMPARE(int(tio.c_cflag & checked), frame & checked);
    QCOMPARE(int(tio.c_iflag & (IXON | IXOFF | ICRNL)), 0);
    QCOMPARE(int(tio.c_lflag & (ICANON | ECHO | ISIG)), 0);
}

void TestCommPort::portNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("readBack");
    for (int refused : {0, -1, 256})
        QTest::addRow("%d", refused) << refused << 7;
    for (int taken : {1, 255})
        QTest::addRow("%d", taken) << taken << taken;
}

void TestCommPort::portNumbers()
{
    QFETCH(int, number);
    QFETCH(int, readBack);
    QVERIFY(m_port->setCommPort(7));
    QCOMPARE(m_port->setCommPort(number), number == readBack);
    QCOMPARE(m_port->commPort(), readBack);
    QVERIFY(m_port->setProperty("CommPort", number)); // the property path refuses quietly
    QCOMPARE(m_port->property("CommPort").toInt(), readBack);
    QCOMPARE(m_port->devicePath(readBack), "/dev/ttyS" + QString::number(readBack - 1)); // no link
}

void TestCommPort::bytesPassUnchanged_data()
{
    QTest::addColumn<int>("stale"); // sent before the opening: 0 none, 1 never opened, 2 reopened
    QTest::addColumn<bool>("firstThroughLoop");
    QTest::addColumn<bool>("secondThroughLoop");
    QTest::newRow("event loop ran") << 0 << true << true;
    QTest::newRow("no event loop") << 0 << false << false;
    QTest::newRow("older part taken by Qt, newer still in the driver") << 0 << true << false;
    QTest::newRow("stale before the first opening") << 1 << true << false;
    QTest::newRow("stale while closed between openings") << 2 << true << false;
}

void TestCommPort::bytesPassUnchanged()
{
    QFETCH(int, stale);
    QFETCH(bool, firstThroughLoop);
    QFETCH(bool, secondThroughLoop);
    if (stale == 2)
        QVERIFY(openOn(*m_port, *m_pty) && m_port->setPortOpen(false));
    if (stale)
        QVERIFY(arrive(*m_pty, "late reply"));
    QVERIFY(openOn(*m_port, *m_pty));
    const QByteArray second = QByteArray::fromHex("0203100009c4b5a8");
    QVERIFY(m_port->output(everyByte()) && m_port->output(second));
    QCOMPARE(m_port->outBufferCount(), 0);
    QCOMPARE(m_pty->readFromMaster(2000, 264), everyByte() + second);
    // Input: everything pending, whether or not the event loop has seen it yet.
    QVERIFY(arrive(*m_pty, everyByte(), firstThroughLoop));
    QVERIFY(arrive(*m_pty, second, secondThroughLoop));
    QCOMPARE(m_port->input(), everyByte() + second);
    QCOMPARE(m_port->input(), QByteArray());
}

void TestCommPort::inputLenAndInBufferCount()
{
    QVERIFY(openOn(*m_port, *m_pty));
    QVERIFY(arrive(*m_pty, "12345", true) && arrive(*m_pty, "678"));
    QCOMPARE(m_port->inBufferCount(), 8); // Qt's buffer and the driver's
    QVERIFY(m_port->setInputLen(3));
    QCOMPARE(m_port->input(), QByteArrayLiteral("123"));
    QCOMPARE(m_port->inBufferCount(), 5);

    QVERIFY(arrive(*m_pty, "9"));
    QVERIFY(!m_port->setInBufferCount(3));
    QVERIFY(m_port->setInBufferCount(0)); // discards all, the byte still in the driver too
    QCOMPARE(m_port->inBufferCount(), 0);
    QVERIFY(arrive(*m_pty, "fresh") && m_port->setInputLen(0));
    QCOMPARE(m_port->input(), QByteArrayLiteral("fresh"));
}

void TestCommPort::portTakenElsewhere_data()
{
    QTest::addColumn<bool>("byProgram");
    QTest::newRow("same device under another name") << false;
    QTest::newRow("held by another program") << true;
}

void TestCommPort::portTakenElsewhere()
{
    QFETCH(bool, byProgram);
    PortHolderProcess holder;
    CommPort other(QStringList{m_dir->path()});
    if (byProgram)
        QVERIFY2(holder.start(m_pty->slavePath()), qPrintable(holder.errorText()));
    else
        QVERIFY(m_pty->linkAs(m_dir->path(), kPort + 1) && other.setCommPort(kPort + 1) &&
                other.setPortOpen(true));
    QVERIFY(!openOn(*m_port, *m_pty));
    QVERIFY(!m_port->property("PortOpen").toBool());
    QVERIFY(!m_port->lastError().isEmpty());
    holder.stop();
    QVERIFY(other.setPortOpen(false));
    QVERIFY(m_port->setPortOpen(true));
}

void TestCommPort::deviceVanishingWhileOpen_data()
{
    QTest::addColumn<bool>("noticedByEventLoop"); // otherwise by the next Input
    QTest::newRow("noticed by the event loop") << true;
    QTest::newRow("noticed by Input") << false;
}

void TestCommPort::deviceVanishingWhileOpen()
{
    QFETCH(bool, noticedByEventLoop);
    QSignalSpy lost(m_port.get(), &CommPort::portLost);
    QVERIFY(openOn(*m_port, *m_pty));
    QVERIFY(arrive(*m_pty, "abc", noticedByEventLoop)); // with the loop, Qt's buffer holds them
    if (!noticedByEventLoop)
        QCOMPARE(m_port->inBufferCount(), 3);
    m_pty->closeMaster();
    if (!noticedByEventLoop)
        QCOMPARE(m_port->input(), QByteArrayLiteral("abc"));
    const std::clock_t cpuBefore = std::clock();
    QTest::qWait(1000);
    QVERIFY2(std::clock() - cpuBefore < CLOCKS_PER_SEC * 3 / 10,
             "the lost port keeps the processor busy");

    QCOMPARE(lost.count(), 1);
    QVERIFY(!m_port->portOpen());
    QVERIFY(!m_port->output(QByteArrayLiteral("x")));
    QCOMPARE(m_port->input(), noticedByEventLoop ? QByteArrayLiteral("abc") : QByteArray());
    QCOMPARE(m_port->inBufferCount(), 0);
    // Start-up prepares a closed port with these and expects no refusal.
    QVERIFY(m_port->setInBufferCount(0) && m_port->setOutBufferCount(0));
    Pty replugged;
    QVERIFY(openOn(*m_port, replugged));
    QVERIFY(m_port->output(QByteArrayLiteral("back")));
    QCOMPARE(replugged.readFromMaster(1000, 4), QByteArrayLiteral("back"));
}

QTEST_GUILESS_MAIN(TestCommPort)
#include "tst_comm_port.moc"
