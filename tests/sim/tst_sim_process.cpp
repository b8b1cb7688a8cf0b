// The simulator as a program, over a real pseudo-terminal.

#include "modbus/frame.h"
#include "sim_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <csignal>

namespace {
const QByteArray kReadParameters = modbus::CloseFrame(2, 3, 0, 8, 0, 2);
const QByteArray kParameters = modbus::WithCrc(QByteArray("\x02\x03\x04\x4B\x00\x00\x02", 7));
constexpr int kReplyMs = 3000;
constexpr int kQuietMs = 600;
} // namespace

class TestSimProcess : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void serves();
    void writesKeptUnlessLocked_data();
    void writesKeptUnlessLocked();
    void faults_data();
    void faults();
    void stopsCleanlyAndLogs_data();
    void stopsCleanlyAndLogs();
};

void TestSimProcess::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    const QString link = QStringLiteral("/nonexistent/link");
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("unknown option") << QStringList{"--pty", link, "--bogus"} << 2;
    QTest::newRow("no line") << QStringList{} << 2;
    QTest::newRow("station 0") << QStringList{"--pty", link, "--station", "0"} << 2;
    QTest::newRow("share above 1") << QStringList{"--pty", link, "--drop", "1.5"} << 2;
    QTest::newRow("stray argument") << QStringList{"--pty", link, "extra"} << 2;
    QTest::newRow("no such folder") << QStringList{"--pty", link} << 1;
}

void TestSimProcess::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QByteArray out;
    QByteArray err;
    QCOMPARE(SimProcess::runToEnd(arguments, &out, &err), exitCode);
    if (exitCode != 0)
        QVERIFY2(err.startsWith("rv4820-sim: "), err.constData());
    for (const char *option : {"--device", "--pty", "--station", "--baud", "--locked", "--delay",
                               "--drop", "--corrupt", "--truncate", "--noise", "--seed"})
        QVERIFY2(exitCode != 0 || out.contains(option), option);
}

void TestSimProcess::serves()
{
    SimProcess sim;
    QVERIFY(sim.start());
    for (int client = 0; client < 2; ++client) { // the line outlives each client
        LinkClient link(sim.link());
        QVERIFY(link.send(kReadParameters));
        QCOMPARE(link.receive(kParameters.size(), kReplyMs), kParameters);
        QVERIFY(link.send(modbus::CloseFrame(2, 3, 0, 0, 0, 8)));
        const QByteArray live = link.receive(21, kReplyMs);
        QVERIFY(live.startsWith("\x02\x03\x10") && modbus::HasValidCrc(live));
        // No known length: answered once the line falls quiet.
        QVERIFY(link.send(modbus::CloseFrame(2, 4, 0, 0, 0, 1)));
        QCOMPARE(link.receive(5, kReplyMs), modbus::WithCrc("\x02\x84\x01"));
        // Garbage spoils the request behind it; after a pause the next is heard.
        QVERIFY(link.send("\x55" + kReadParameters));
        QVERIFY(link.collect(kQuietMs).isEmpty());
    }
    SimProcess refused; // a file at the link's place is not replaced
    QFile file(refused.link());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep") == 4);
    file.close();
    QCOMPARE(SimProcess::runToEnd({"--pty", refused.link()}), 1);
    QCOMPARE(QFileInfo(refused.link()).size(), 4);
}

void TestSimProcess::writesKeptUnlessLocked_data()
{
    QTest::addColumn<bool>("locked");
    QTest::newRow("open") << false;
    QTest::newRow("locked") << true;
}

void TestSimProcess::writesKeptUnlessLocked()
{
    QFETCH(bool, locked);
    SimProcess sim;
    QVERIFY(sim.start(locked ? QStringList{"--locked"} : QStringList{}));
    LinkClient link(sim.link());
    const QByteArray write = modbus::CloseFrame(2, 6, 0, 10, 0x23, 0x28); // 9000
    QVERIFY(link.send(write));
    QCOMPARE(link.receive(8, kReplyMs), write);
    QVERIFY(link.send(modbus::CloseFrame(2, 3, 0, 10, 0, 1)));
    const QByteArray value = locked ? "\x27\x10" : "\x23\x28";
    QCOMPARE(link.receive(7, kReplyMs), modbus::WithCrc("\x02\x03\x02" + value));
}

void TestSimProcess::faults_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("value");
    QTest::newRow("drop") << "drop"
                          << "1";
    QTest::newRow("corrupt") << "corrupt"
                             << "1";
    QTest::newRow("truncate") << "truncate"
                              << "1";
    QTest::newRow("noise") << "noise"
                           << "1";
    QTest::newRow("delay") << "delay"
                           << "400";
    QTest::newRow("share 0") << "noise"
                             << "0";
}

void TestSimProcess::faults()
{
    QFETCH(QString, option);
    QFETCH(QString, value);
    SimProcess sim;
    QVERIFY(sim.start({"--" + option, value}));
    LinkClient link(sim.link());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(link.send(kReadParameters));
    QByteArray reply = link.receive(1, kReplyMs);
    const qint64 firstMs = clock.elapsed();
    reply += link.collect(kQuietMs);
    const int size = kParameters.size();
    if (option == "drop") {
        QVERIFY(reply.isEmpty());
    } else if (option == "corrupt") {
        QVERIFY(reply.size() == size && reply.left(size - 2) == kParameters.left(size - 2));
        QVERIFY(!modbus::HasValidCrc(reply));
    } else if (option == "truncate") {
        QVERIFY(!reply.isEmpty() && reply.size() < size && kParameters.startsWith(reply));
    } else if (option == "noise" && value == "1") {
        QVERIFY(reply.contains(kParameters));
        QVERIFY(!reply.startsWith(kParameters) && !reply.endsWith(kParameters));
    } else {
        QCOMPARE(reply, kParameters);
        QVERIFY2(option != "delay" || firstMs >= 380, qPrintable(QString::number(firstMs)));
    }
}

void TestSimProcess::stopsCleanlyAndLogs_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSimProcess::stopsCleanlyAndLogs()
{
    QFETCH(int, signalNumber);
    SimProcess sim;
    QVERIFY(sim.start());
    {
        LinkClient link(sim.link());
        QVERIFY(link.send(kReadParameters));
        QCOMPARE(link.receive(kParameters.size(), kReplyMs), kParameters);
    }
    QVERIFY(sim.stop(signalNumber));
    QVERIFY(!QFileInfo(sim.link()).isSymLink());
    const QString out = QString::fromLatin1(sim.process().readAllStandardOutput());
    const QString stamp = QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
    const auto line = [&out](const QString &pattern) {
        return QRegularExpression(pattern, QRegularExpression::MultilineOption)
            .match(out)
            .hasMatch();
    };
    QVERIFY2(line(stamp + "-> 02 03 00 08 00 02 .. ..$"), qPrintable(out));
    QVERIFY2(line(stamp + "<-" + modbus::ShowHex(kParameters) + "$"), qPrintable(out));
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_sim_process.moc"
