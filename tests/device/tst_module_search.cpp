// The search for a module: the order of probes, what answers mean, and the
// runner on a pseudo-terminal against scripted peers and the simulator.

#include "device/module_search.h"
#include "modbus/frame.h"
#include "serial/comm_port.h"
#include "tests/support/scripted_module.h"

#include <QtTest>
#include <termios.h>

using namespace modsearch;

namespace {
QList<int> numbers(const QString &text)
{
    QList<int> out;
    for (const QString &part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out << part.toInt();
    return out;
}

QString shown(const QList<Probe> &plan)
{
    QStringList out;
    for (const Probe &p : plan)
        out << QStringLiteral("%1:%2").arg(p.baud).arg(p.station);
    return out.join(QLatin1Char(' '));
}

QString shown(const Answer &a)
{
    const char *kinds[] = {"nothing", "module", "device", "garbage"};
    QString text =
        QStringLiteral("%1 %2:%3").arg(kinds[int(a.kind)]).arg(a.probe.baud).arg(a.probe.station);
    if (a.exceptionCode >= 0)
        return text + QStringLiteral(" exception %1").arg(a.exceptionCode);
    if (a.kind == Kind::Module || a.kind == Kind::Device)
        text += QStringLiteral(" (%1 %2)").arg(a.baudRegister).arg(a.stationRegister);
    return text;
}

int lineBaud(int fd)
{
    termios tio{};
    tcgetattr(fd, &tio);
    return cfgetospeed(&tio) == B9600 ? 9600 : cfgetospeed(&tio) == B19200 ? 19200 : 0;
}
} // namespace

class TestModuleSearch : public QObject {
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void classifying_data();
    void classifying();
    void endings_data();
    void endings();
    void earlyEndAndSilence();
    void wrongBaudOnTheSimulator();
};

void TestModuleSearch::plan_data()
{
    QTest::addColumn<int>("present");
    QTest::addColumn<QString>("bauds");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("saved");
    QTest::addColumn<QString>("expected");
    QTest::newRow("box, then saved, then the rest; other baud plain")
        << 19200 << "9600 19200" << 1 << 4 << 3 << 2
        << "19200:3 19200:2 19200:1 19200:4 9600:1 9600:2 9600:3 9600:4";
    QTest::newRow("box equal to saved")
        << 9600 << "19200 9600" << 1 << 2 << 2 << 2 << "9600:2 9600:1 19200:1 19200:2";
    QTest::newRow("preferred outside the range")
        << 19200 << "19200" << 2 << 3 << 1 << 4 << "19200:2 19200:3";
    QTest::newRow("present baud not chosen")
        << 19200 << "9600" << 1 << 3 << 3 << 2 << "9600:1 9600:2 9600:3";
    QTest::newRow("broadcast and reserved never")
        << 19200 << "19200" << 0 << 1 << 0 << 0 << "19200:1";
    QTest::newRow("reserved box") << 19200 << "19200" << 246 << 255 << 250 << 248
                                  << "19200:246 19200:247";
}

void TestModuleSearch::plan()
{
    QFETCH(int, present);
    QFETCH(QString, bauds);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, box);
    QFETCH(int, saved);
    QFETCH(QString, expected);
    QCOMPARE(shown(planProbes({present, numbers(bauds), first, last, box, saved})), expected);
}

void TestModuleSearch::classifying_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("the module") << QByteArray::fromHex("050304258000057514")
                                << "module 9600:5 (9600 5)";
    QTest::newRow("another station register")
        << QByteArray::fromHex("0503044B000007E9D5") << "device 9600:5 (19200 7)";
    QTest::newRow("exception") << QByteArray::fromHex("0583028130") << "device 9600:5 exception 2";
    QTest::newRow("exception of another station")
        << QByteArray::fromHex("0683027130") << "garbage 9600:5";
    QTest::newRow("bad CRC") << QByteArray::fromHex("050304258000057515") << "garbage 9600:5";
    QTest::newRow("stray bytes") << QByteArray::fromHex("A17F") << "garbage 9600:5";
    QTest::newRow("silence") << QByteArray() << "nothing 9600:5";
}

void TestModuleSearch::classifying()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QByteArray request = probeRequest(5);
    QCOMPARE(request, QByteArray::fromHex("050300080002444D"));
    QCOMPARE(shown(classify({9600, 5}, request, bytes)), expected);
}

// A peer at 9600 baud: station 3 is the module, 6 another device, 7 answers
// with an exception; at any other baud every request gets two stray bytes.
// Each ending leaves the port with the settings it started with.
void TestModuleSearch::endings_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("bauds");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("stopAt"); // the request at which Stop is pressed
    QTest::addColumn<int>("goneAt"); // the request at which the device goes away
    QTest::addColumn<QString>("requests");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("ending");
    QTest::addColumn<bool>("openAfter");
    QTest::newRow("first module, at the other baud")
        << "19200,N,8,1"
        << "19200 9600" << 2 << 3 << false << 0 << 0 << "19200:3 19200:2 9600:2 9600:3"
        << "garbage 19200:3|module 9600:3 (9600 3)" << int(Ending::FoundFirst) << true;
    QTest::newRow("all, from the other baud")
        << "19200,E,8,1"
        << "9600" << 3 << 7 << true << 0 << 0 << "9600:3 9600:4 9600:5 9600:6 9600:7"
        << "module 9600:3 (9600 3)|device 9600:6 (19200 9)|device 9600:7 exception 2"
        << int(Ending::Completed) << true;
    QTest::newRow("stopped") << "9600,N,8,1"
                             << "9600 19200" << 1 << 9 << true << 3 << 0 << "9600:3 9600:1 9600:2"
                             << "module 9600:3 (9600 3)" << int(Ending::Stopped) << true;
    QTest::newRow("device gone") << "9600,N,8,1"
                                 << "9600 19200" << 1 << 2 << true << 0 << 3
                                 << "9600:1 9600:2 19200:1"
                                 << "" << int(Ending::PortLost) << false;
}

void TestModuleSearch::endings()
{
    QFETCH(QString, settings);
    QFETCH(QString, bauds);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, all);
    QFETCH(int, stopAt);
    QFETCH(int, goneAt);
    QFETCH(int, ending);
    QTemporaryDir dir;
    Pty pty;
    ScriptedModule peer(pty);
    QVERIFY(Pty::linkPort(dir.path(), 4, pty.slavePath()));
    CommPort port({dir.path()});
    port.setCommPort(4);
    port.setSettings(settings);
    port.setInputLen(3);
    QVERIFY(port.setPortOpen(true));
    Runner runner(port);
    QStringList requests;
    peer.onRequest = [&] {
        requests << QStringLiteral("%1:%2")
                        .arg(lineBaud(pty.slaveFd()))
                        .arg(int(peer.requests.constLast().bytes[0]));
        if (requests.size() == stopAt)
            runner.stop();
        if (requests.size() == goneAt)
            pty.closeMaster();
    };
    peer.reply = [&](const QByteArray &request) {
        if (lineBaud(pty.slaveFd()) != 9600)
            return QByteArray::fromHex("FF00");
        switch (request[0]) {
        case 3: return QByteArray::fromHex("030304258000039316");
        case 6:
            return QByteArray::fromHex("0603044B000009"
                                       "5B11");
        case 7: return QByteArray::fromHex("07830220F0");
        default: return QByteArray();
        }
    };
    QStringList answers;
    connect(&runner, &Runner::answered, [&](const Answer &a) { answers << shown(a); });
    Config config;
    config.plan = planProbes({baudOf(settings), numbers(bauds), first, last, 3, std::nullopt});
    config.timeoutMs = {{9600, 40}, {19200, 40}};
    config.stopAtFirst = !all;
    QCOMPARE(int(runner.run(config)), ending);
    QTEST(requests.join(QLatin1Char(' ')), "requests");
    QTEST(answers.join(QLatin1Char('|')), "answers");
    QCOMPARE(port.settings(), settings);
    QTEST(port.portOpen(), "openAfter");
    QCOMPARE(port.inputLen(), 3);
}

// Probes end when the reply is complete, not at their timeout, and the next
// request waits for 3.5 characters of silence (2.0 ms at 19200 baud).
void TestModuleSearch::earlyEndAndSilence()
{
    QTemporaryDir dir;
    Pty pty;
    ScriptedModule peer(pty);
    peer.reply = [](const QByteArray &request) {
        return modbus::WithCrc(QByteArray(1, request[0]) + QByteArray::fromHex("8302"));
    };
    Pty::linkPort(dir.path(), 4, pty.slavePath());
    CommPort port({dir.path()});
    port.setCommPort(4);
    port.setSettings(QStringLiteral("19200,N,8,1"));
    QVERIFY(port.setPortOpen(true));
    Runner runner(port);
    Config config;
    config.plan = planProbes({19200, {19200}, 1, 5, std::nullopt, std::nullopt});
    config.timeoutMs = {{19200, 3000}};
    config.stopAtFirst = false;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(int(runner.run(config)), int(Ending::Completed));
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(peer.requests.size(), 5);
    for (int i = 1; i < peer.requests.size(); ++i)
        QVERIFY(peer.requests[i].atMs - peer.requests[i - 1].atMs >= 2);
}

// The simulator at 9600 baud, station 2: at 19200 it sends stray bytes,
// noted once; at 9600 it is found. The port ends at 19200 and open.
void TestModuleSearch::wrongBaudOnTheSimulator()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("ports")));
    const QString link = dir.filePath(QStringLiteral("ports/COM4"));
    QProcess sim;
    sim.start(QStringLiteral(RV_SIM_PATH),
              {QStringLiteral("--pty"), link, QStringLiteral("--station"), QStringLiteral("2"),
               QStringLiteral("--baud"), QStringLiteral("9600"), QStringLiteral("--seed"),
               QStringLiteral("7")});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(link), 10000);
    CommPort port({dir.path()});
    port.setCommPort(4);
    port.setSettings(QStringLiteral("19200,N,8,1"));
    QVERIFY(port.setPortOpen(true));
    Runner runner(port);
    QStringList answers;
    connect(&runner, &Runner::answered, [&](const Answer &a) { answers << shown(a); });
    Config config;
    config.plan = planProbes({19200, {19200, 9600}, 1, 3, 3, std::nullopt});
    QCOMPARE(int(runner.run(config)), int(Ending::FoundFirst));
    QCOMPARE(answers.join(QLatin1Char('|')),
             QStringLiteral("garbage 19200:3|module 9600:2 (9600 2)"));
    QCOMPARE(port.settings(), QStringLiteral("19200,N,8,1"));
    QVERIFY(port.portOpen());
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.readAllStandardOutput().count("(misheard)"), 3);
}

QTEST_GUILESS_MAIN(TestModuleSearch)
#include "tst_module_search.moc"
