// The serial port component against real pseudo-terminals.

#include "serial/comm_port.h"
#include "tests/support/port_holder_process.h"
#include "tests/support/pty.h"
#include "tests/support/scripted_module.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <termios.h>
#include <time.h>

namespace {

constexpr int kPort = 3;
constexpr int kSettleMs = 50; // a pty hands bytes to the other side through a work queue

QByteArray everyByte()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

qint64 cpuTimeMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
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

// Bytes move without giving the event loop a turn.
void settle()
{
    QThread::msleep(kSettleMs);
}

} // namespace

class TestCommPort : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lineSettingsReachTheDevice_data();
    void lineSettingsReachTheDevice();
    void settingsText_data();
    void settingsText();
    void portNumbers_data();
    void portNumbers();
    void lineIsFixedWhileOpen();
    void closedPortRefuses();

    void outputArrivesUnchanged();
    void inputTakesEverythingPending_data();
    void inputTakesEverythingPending();
    void inputLenLimitsOneTake();
    void inBufferCountCountsAndDiscards();
    void staleInputIsNotDelivered_data();
    void staleInputIsNotDelivered();
    void answersFromScriptedModule();

    void twoNamesForOneDeviceOpenOnce();
    void portHeldByAnotherProgram();
    void deviceVanishingWhileOpen_data();
    void deviceVanishingWhileOpen();

private:
    bool openOn(CommPort &port, Pty &pty, const QString &settings = QStringLiteral("19200,N,8,1"));

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Pty> m_pty;
};

void TestCommPort::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_pty = std::make_unique<Pty>();
    QVERIFY(m_pty->isOpen());
}

void TestCommPort::cleanup()
{
    m_pty.reset();
    m_dir.reset();
}

bool TestCommPort::openOn(CommPort &port, Pty &pty, const QString &settings)
{
    return pty.linkAs(m_dir->path(), kPort) && port.setCommPort(kPort) &&
           port.setSettings(settings) && port.setPortOpen(true) && port.portOpen();
}

void TestCommPort::lineSettingsReachTheDevice_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("parity"); // PARENB and PARODD bits expected
    QTest::addColumn<bool>("twoStops");

    QTest::newRow("19200 8N1") << "19200,N,8,1" << int(B19200) << int(CS8) << 0 << false;
    QTest::newRow("9600 8N1") << "9600,N,8,1" << int(B9600) << int(CS8) << 0 << false;
    QTest::newRow("4800 7E2") << "4800,E,7,2" << int(B4800) << int(CS7) << int(PARENB) << true;
    QTest::newRow("115200 5O1") << "115200,O,5,1" << int(B115200) << int(CS5)
                                << int(PARENB | PARODD) << false;
}

void TestCommPort::lineSettingsReachTheDevice()
{
    QFETCH(QString, settings);
    QFETCH(int, speed);
    QFETCH(int, size);
    QFETCH(int, parity);
    QFETCH(bool, twoStops);
    CommPort port(m_dir->path());
    QVERIFY(openOn(port, *m_pty, settings));

    termios tio{};
    QCOMPARE(tcgetattr(m_pty->slaveFd(), &tio), 0);
    QCOMPARE(int(cfgetospeed(&tio)), speed);
    QCOMPARE(int(cfgetispeed(&tio)), speed);
    QCOMPARE(bool(tio.c_cflag & CSTOPB), twoStops);
    if (ptyKeepsFraming()) {
        QCOMPARE(int(tio.c_cflag & CSIZE), size);
        QCOMPARE(int(tio.c_cflag & (PARENB | PARODD)), parity);
    }
    QCOMPARE(int(tio.c_cflag & CRTSCTS), 0);
    QCOMPARE(int(tio.c_iflag & (IXON | IXOFF | ICRNL)), 0);
    QCOMPARE(int(tio.c_lflag & (ICANON | ECHO | ISIG)), 0);
}

void TestCommPort::settingsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack"); // the settings in force afterwards

    const QString kept = QStringLiteral("4800,E,7,2");
    QTest::newRow("tool's form") << "19200,N,8,1"
                                 << "19200,N,8,1";
    QTest::newRow("odd, two stops") << "1200,O,6,2"
                                    << "1200,O,6,2";
    QTest::newRow("lower-case parity") << "9600,n,8,1"
                                       << "9600,N,8,1";
    QTest::newRow("uncommon baud") << "31250,N,8,1"
                                   << "31250,N,8,1";
    QTest::newRow("empty") << "" << kept;
    QTest::newRow("baud only") << "19200" << kept;
    QTest::newRow("three fields") << "19200,N,8" << kept;
    QTest::newRow("five fields") << "19200,N,8,1," << kept;
    QTest::newRow("zero baud") << "0,N,8,1" << kept;
    QTest::newRow("negative baud") << "-9600,N,8,1" << kept;
    QTest::newRow("baud beyond int") << "99999999999,N,8,1" << kept;
    QTest::newRow("baud with blank") << " 9600,N,8,1" << kept;
    QTest::newRow("mark parity") << "9600,M,8,1" << kept;
    QTest::newRow("two parity letters") << "9600,NE,8,1" << kept;
    QTest::newRow("nine data bits") << "9600,N,9,1" << kept;
    QTest::newRow("four data bits") << "9600,N,4,1" << kept;
    QTest::newRow("one and a half stops") << "9600,N,8,1.5" << kept;
    QTest::newRow("three stops") << "9600,N,8,3" << kept;
}

void TestCommPort::settingsText()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    CommPort port(m_dir->path());
    QVERIFY(port.setSettings(QStringLiteral("4800,E,7,2")));

    QCOMPARE(port.setSettings(text), readBack != QLatin1String("4800,E,7,2"));
    QCOMPARE(port.settings(), readBack);
    QCOMPARE(port.property("Settings").toString(), readBack);
}

void TestCommPort::portNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("readBack");

    QTest::newRow("0") << 0 << 7;
    QTest::newRow("-1") << -1 << 7;
    QTest::newRow("256") << 256 << 7;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("255") << 255 << 255;
}

void TestCommPort::portNumbers()
{
    QFETCH(int, number);
    QFETCH(int, readBack);
    CommPort port(m_dir->path());
    QVERIFY(port.setCommPort(7));

    QCOMPARE(port.setCommPort(number), number == readBack);
    QCOMPARE(port.commPort(), readBack);
    QVERIFY(port.setProperty("CommPort", number)); // the property path refuses quietly
    QCOMPARE(port.property("CommPort").toInt(), readBack);
}

void TestCommPort::lineIsFixedWhileOpen()
{
    CommPort port(m_dir->path());
    QVERIFY(openOn(port, *m_pty));

    QVERIFY(!port.setCommPort(kPort + 1));
    QVERIFY(!port.setSettings(QStringLiteral("9600,N,8,1")));
    QCOMPARE(port.commPort(), kPort);
    QCOMPARE(port.settings(), QStringLiteral("19200,N,8,1"));
    QVERIFY(port.setPortOpen(true)); // opening an open port changes nothing
    QVERIFY(port.portOpen());
    // Only the line is fixed; the rest may change on an open port.
    QVERIFY(port.setRThreshold(21));
    QVERIFY(port.setInputMode(1));
    QCOMPARE(port.rThreshold(), 21);
}

void TestCommPort::closedPortRefuses()
{
    CommPort port(m_dir->path());
    QVERIFY(port.setCommPort(200)); // no ports/COM200 and no /dev/ttyS199
    QVERIFY(!port.setPortOpen(true));
    QVERIFY(!port.portOpen());
    QVERIFY(!port.lastError().isEmpty());

    QVERIFY(!port.output(QByteArrayLiteral("\x01\x03")));
    QCOMPARE(port.input(), QByteArray());
    QCOMPARE(port.inBufferCount(), 0);
    QCOMPARE(port.outBufferCount(), 0);
    // Start-up prepares the closed port with these and expects no refusal.
    QVERIFY(port.setInBufferCount(0));
    QVERIFY(port.setOutBufferCount(0));
    QVERIFY(port.setPortOpen(false));
}

void TestCommPort::outputArrivesUnchanged()
{
    CommPort port(m_dir->path());
    QVERIFY(openOn(port, *m_pty));
    const QByteArray request = QByteArray::fromHex("020300000008443f");

    QVERIFY(port.output(everyByte()));
    QVERIFY(port.output(request));
    QCOMPARE(port.outBufferCount(), 0);
    QCOMPARE(m_pty->readFromMaster(2000, 264), everyByte() + request);
}

void TestCommPort::inputTakesEverythingPending_data()
{
    QTest::addColumn<bool>("firstPartThroughEventLoop");
    QTest::addColumn<bool>("secondPartThroughEventLoop");

    QTest::newRow("event loop ran") << true << true;
    QTest::newRow("no event loop") << false << false;
    QTest::newRow("older part taken by Qt, newer still in the driver") << true << false;
}

void TestCommPort::inputTakesEverythingPending()
{
    QFETCH(bool, firstPartThroughEventLoop);
    QFETCH(bool, secondPartThroughEventLoop);
    CommPort port(m_dir->path());
    QVERIFY(openOn(port, *m_pty));
    const QByteArray first = everyByte();
    const QByteArray second = QByteArray::fromHex("0203100009c4b5a8");

    for (const auto &[part, loop] : {std::pair{first, firstPartThroughEventLoop},
                                     std::pair{second, secondPartThroughEventLoop}}) {
        QVERIFY(m_pty->writeToMaster(part));
        settle();
        if (loop)
            QTest::qWait(kSettleMs);
    }

    QCOMPARE(port.input(), first + second);
    QCOMPARE(port.input(), QByteArray());
}

void TestCommPort::inputLenLimitsOneTake()
{
    CommPort port(m_dir->path());
    QVERIFY(openOn(port, *m_pty));
    QVERIFY(port.setInputLen(3));
    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("abcde")));
    settle();

    QCOMPARE(port.input(), QByteArrayLiteral("abc"));
    QCOMPARE(port.inBufferCount(), 2);
    QVERIFY(port.setInputLen(0));
    QCOMPARE(port.input(), QByteArrayLiteral("de"));
}

void TestCommPort::inBufferCountCountsAndDiscards()
{
    CommPort port(m_dir->path());
    QVERIFY(openOn(port, *m_pty));
    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("12345")));
    QTest::qWait(kSettleMs);
    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("678")));
    settle();

    QCOMPARE(port.inBufferCount(), 8);
    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("9")));
    settle();
    QVERIFY(!port.setInBufferCount(3));
    QVERIFY(port.setInBufferCount(0));
    QCOMPARE(port.inBufferCount(), 0);
    QCOMPARE(port.input(), QByteArray());

    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("new")));
    settle();
    QCOMPARE(port.input(), QByteArrayLiteral("new"));
}

void TestCommPort::staleInputIsNotDelivered_data()
{
    QTest::addColumn<bool>("reopen");

    QTest::newRow("before the first opening") << false;
    QTest::newRow("while closed between openings") << true;
}

void TestCommPort::staleInputIsNotDelivered()
{
    QFETCH(bool, reopen);
    CommPort port(m_dir->path());
    if (reopen) {
        QVERIFY(openOn(port, *m_pty));
        QVERIFY(port.setPortOpen(false));
    }
    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("late reply")));
    settle();

    QVERIFY(openOn(port, *m_pty));
    QTest::qWait(kSettleMs);
    QCOMPARE(port.inBufferCount(), 0);
    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("fresh")));
    settle();
    QCOMPARE(port.input(), QByteArrayLiteral("fresh"));
}

void TestCommPort::answersFromScriptedModule()
{
    CommPort port(m_dir->path());
    QVERIFY(openOn(port, *m_pty));
    ScriptedModule module(*m_pty, [](const QByteArray &request) {
        return request.left(2) + QByteArrayLiteral("\x02\x00\x07");
    });
    constexpr int kDelayMs = 150;
    module.setDelayMs(kDelayMs);
    const QByteArray request = QByteArray::fromHex("010300000001840a");

    QVERIFY(port.output(request));
    const qint64 sentAt = module.elapsedMs();
    QTest::qWait(kDelayMs / 3);
    QCOMPARE(port.input(), QByteArray());
    QByteArray reply;
    QTRY_VERIFY((reply += port.input()) == QByteArray::fromHex("0103020007"));
    QCOMPARE(module.requests().size(), 1);
    QCOMPARE(module.requests().first().bytes, request);
    QVERIFY(module.requests().first().atMs >= sentAt - 5);
    QVERIFY(module.requests().first().atMs < sentAt + kDelayMs);
}

void TestCommPort::twoNamesForOneDeviceOpenOnce()
{
    CommPort first(m_dir->path());
    CommPort second(m_dir->path());
    QVERIFY(openOn(first, *m_pty));
    QVERIFY(m_pty->linkAs(m_dir->path(), kPort + 1));
    QVERIFY(second.setCommPort(kPort + 1));

    QVERIFY(!second.setPortOpen(true));
    QVERIFY(!second.portOpen());
    QVERIFY(first.setPortOpen(false));
    QVERIFY(second.setPortOpen(true));
}

void TestCommPort::portHeldByAnotherProgram()
{
    PortHolderProcess holder;
    QVERIFY2(holder.start(m_pty->slavePath()), qPrintable(holder.errorText()));
    CommPort port(m_dir->path());

    QVERIFY(!openOn(port, *m_pty));
    QVERIFY(!port.portOpen());
    QVERIFY(!port.property("PortOpen").toBool());
    holder.stop();
    QVERIFY(port.setPortOpen(true));
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
    CommPort port(m_dir->path());
    QSignalSpy lost(&port, &CommPort::portLost);
    QVERIFY(openOn(port, *m_pty));
    QVERIFY(m_pty->writeToMaster(QByteArrayLiteral("abc")));
    settle();
    if (noticedByEventLoop)
        QTest::qWait(kSettleMs); // Qt's buffer holds them when the line goes
    else
        QCOMPARE(port.inBufferCount(), 3);

    m_pty->closeMaster();
    if (!noticedByEventLoop)
        QCOMPARE(port.input(), QByteArrayLiteral("abc"));
    const qint64 cpuBefore = cpuTimeMs();
    QTest::qWait(1000);
    QVERIFY2(cpuTimeMs() - cpuBefore < 300, "the lost port keeps the processor busy");

    QCOMPARE(lost.count(), 1);
    QVERIFY(!port.portOpen());
    QVERIFY(!port.output(QByteArrayLiteral("x")));
    QCOMPARE(port.input(), noticedByEventLoop ? QByteArrayLiteral("abc") : QByteArray());

    Pty replugged;
    QVERIFY(openOn(port, replugged));
    QVERIFY(port.output(QByteArrayLiteral("back")));
    QCOMPARE(replugged.readFromMaster(1000, 4), QByteArrayLiteral("back"));
}

QTEST_GUILESS_MAIN(TestCommPort)
#include "tst_comm_port.moc"
