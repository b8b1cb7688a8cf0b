// The simulator as a program, over a real pseudo-terminal.

#include "modbus/frame.h"
#include "sim_process.h"

#include <QElapsedTimer>
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
    void servesAndStops_data();
    void servesAndStops();
    void faults_data();
    void faults();

private:
    QTemporaryDir m_dir;
};

void TestSimProcess::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    const QString link = QStringLiteral("/nonexistent/link"), file = m_dir.filePath("file");
    QFile keep(file); // a file at the link's place is not replaced
    QVERIFY(keep.open(QIODevice::WriteOnly) && keep.write("keep") == 4);
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("unknown option") << QStringList{"--pty", link, "--bogus"} << 2;
    QTest::newRow("no line") << QStringList{} << 2;
    QTest::newRow("station 0") << QStringList{"--pty", link, "--station", "0"} << 2;
    QTest::newRow("share above 1") << QStringList{"--pty", link, "--drop", "1.5"} << 2;
    QTest::newRow("stray argument") << QStringList{"--pty", link, "extra"} << 2;
    QTest::newRow("no such folder") << QStringList{"--pty", link} << 1;
    QTest::newRow("file at the link") << QStringList{"--pty", file} << 1;
}

void TestSimProcess::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QProcess sim;
    sim.start(QStringLiteral(RV_SIM_PATH), arguments);
    QVERIFY(sim.waitForFinished() && sim.exitStatus() == QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), exitCode);
    const QByteArray out = sim.readAllStandardOutput(), err = sim.readAllStandardError();
    QVERIFY2(exitCode == 0 || err.startsWith("rv4820-sim: "), err.constData());
    for (const char *option : {"--device", "--pty", "--station", "--baud", "--locked", "--delay",
                               "--drop", "--corrupt", "--truncate", "--noise", "--seed"})
        QVERIFY2(exitCode != 0 || out.contains(option), option);
    QCOMPARE(QFileInfo(m_dir.filePath("file")).size(), 4);
}

void TestSimProcess::servesAndStops_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("locked");
    QTest::newRow("writes kept, SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("--locked, SIGINT") << int(SIGINT) << true;
}

void TestSimProcess::servesAndStops()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, locked);
    SimProcess sim;
    QVERIFY(sim.start(locked ? QStringList{"--locked"} : QStringList{}));
    const QByteArray write = modbus::CloseFrame(2, 6, 0, 10, 0x23, 0x28); // 9000 for 10000
    const QByteArray value = locked ? "\x27\x10" : "\x23\x28";
    const QList<QPair<QByteArray, QByteArray>> exchanges{
        {kReadParameters, kParameters},
        {write, write},
        {modbus::CloseFrame(2, 3, 0, 10, 0, 1), modbus::WithCrc("\x02\x03\x02" + value)},
        {modbus::CloseFrame(2, 4, 0, 0, 0, 1), modbus::WithCrc("\x02\x84\x01")}}; // length unknown
    for (int client = 0; client < 2; ++client) { // the line outlives each client
        LinkClient link(sim.link());
        for (const auto &[request, reply] : exchanges) {
            QVERIFY(link.send(request));
            QCOMPARE(link.receive(reply.size(), kReplyMs), reply);
        }
        QVERIFY(link.send(modbus::CloseFrame(2, 3, 0, 0, 0, 8)));
        const QByteArray live = link.receive(21, kReplyMs);
        QVERIFY(live.startsWith("\x02\x03\x10") && modbus::HasValidCrc(live));
        // Garbage spoils the request behind it; after a pause the next is heard.
        QVERIFY(link.send("\x55" + kReadParameters));
        QVERIFY(link.collect(kQuietMs).isEmpty());
    }
    ::kill(static_cast<pid_t>(sim.process().processId()), signalNumber);
    QVERIFY(sim.process().waitForFinished() && sim.process().exitStatus() == QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(sim.link()).isSymLink());
    const QString out = QString::fromLatin1(sim.process().readAllStandardOutput());
    const QString stamp = QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
    for (const QString &line : {stamp + "-> 02 03 00 08 00 02 .. ..$",
                                stamp + "<-" + modbus::ShowHex(kParameters) + "$"}) {
        const QRegularExpression logged(line, QRegularExpression::MultilineOption);
        QVERIFY2(logged.match(out).hasMatch(), qPrintable(out));
    }
}

void TestSimProcess::faults_data()
{
    QTest::addColumn<QStringList>("options");
    for (const char *fault : {"drop", "corrupt", "truncate", "noise"})
        QTest::newRow(fault) << QStringList{QStringLiteral("--") + fault, "1"};
    QTest::newRow("delay") << QStringList{"--delay", "400"};
    QTest::newRow("share 0") << QStringList{"--noise", "0"};
}

// The visible effect of each fault on one reply.
void TestSimProcess::faults()
{
    QFETCH(QStringList, options);
    const QByteArray fault = QTest::currentDataTag();
    SimProcess sim;
    QVERIFY(sim.start(options));
    LinkClient link(sim.link());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(link.send(kReadParameters));
    QByteArray reply = link.receive(1, kReplyMs);
    const qint64 firstMs = clock.elapsed();
    reply += link.collect(kQuietMs);
    const int size = kParameters.size();
    if (fault == "drop") {
        QVERIFY(reply.isEmpty());
    } else if (fault == "corrupt") {
        QVERIFY(reply.size() == size && reply.left(size - 2) == kParameters.left(size - 2));
        QVERIFY(!modbus::HasValidCrc(reply));
    } else if (fault == "truncate") {
        QVERIFY(!reply.isEmpty() && reply.size() < size && kParameters.startsWith(reply));
    } else if (fault == "noise") {
        QVERIFY(reply.contains(kParameters));
        QVERIFY(!reply.startsWith(kParameters) && !reply.endsWith(kParameters));
    } else {
        QCOMPARE(reply, kParameters);
        QVERIFY2(fault != "delay" || firstMs >= 380, qPrintable(QString::number(firstMs)));
    }
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_sim_process.moc"
