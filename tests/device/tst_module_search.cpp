// The search for a module: the order of probes, and the runner on a
// pseudo-terminal against a scripted peer.

#include "device/module_search.h"
#include "modbus/frame.h"
#include "serial/comm_port.h"
#include "tests/support/scripted_module.h"

#include <QtTest>
#include <termios.h>

using namespace modsearch;

namespace {
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
    return QStringLiteral("%1 %2:%3 (%4 %5 %6)")
        .arg(kinds[int(a.kind)])
        .arg(a.probe.baud)
        .arg(a.probe.station)
        .arg(a.baudRegister)
        .arg(a.stationRegister)
        .arg(a.exceptionCode);
}

int lineBaud(int fd)
{
    termios tio{};
    tcgetattr(fd, &tio);
    return cfgetospeed(&tio) == B9600 ? 9600 : 19200;
}
} // namespace

class TestModuleSearch : public QObject {
    Q_OBJECT
private slots:
    void plan_data()
    {
        QTest::addColumn<QList<int>>("bauds");    // the present one, then those chosen
        QTest::addColumn<QList<int>>("stations"); // first, last, station box, saved
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("box, saved, the rest; other baud plain") << QList<int>{19200, 9600, 19200} << QList<int>{1, 4, 3, 2} << "19200:3 19200:2 19200:1 19200:4 9600:1 9600:2 9600:3 9600:4";
        QTest::newRow("box equal to saved") << QList<int>{9600, 19200, 9600} << QList<int>{1, 2, 2, 2} << "9600:2 9600:1 19200:1 19200:2";
        QTest::newRow("present baud not chosen") << QList<int>{19200, 9600} << QList<int>{1, 3, 3, 2} << "9600:1 9600:2 9600:3";
        QTest::newRow("broadcast never") << QList<int>{19200, 19200} << QList<int>{0, 1, 0, 0} << "19200:1";
        QTest::newRow("reserved never") << QList<int>{19200, 19200} << QList<int>{246, 255, 250, 248} << "19200:246 19200:247";
        // clang-format on
    }

    void plan()
    {
        QFETCH(QList<int>, bauds);
        QFETCH(QList<int>, stations);
        QFETCH(QString, expected);
        const PlanInput input{bauds[0],    bauds.mid(1), stations[0],
                              stations[1], stations[2],  stations[3]};
        QCOMPARE(shown(planProbes(input)), expected);
        QCOMPARE(probeRequest(5), QByteArray::fromHex("050300080002444D"));
    }

    // What arrived before a probe to station 3 ended, and what it is judged to be.
    void answers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("at"); // where the answer starts; -1 none, the probe goes on
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *bytes, int at, const char *expected) {
            QTest::newRow(name) << QByteArray::fromHex(bytes) << at << QString(expected);
        };
        // clang-format off
    row("reply", "030304258000039316", 0, "module 9600:3 (9600 3 -1) the module (baud-rate register 9600, station register 3)");
    row("glitch 00 first", "00030304258000039316", 1, "module 9600:3 (9600 3 -1) the module (baud-rate register 9600, station register 3)");
    row("glitch FF first, bytes after", "FF03030425800003931600", 1, "module 9600:3 (9600 3 -1) the module (baud-rate register 9600, station register 3)");
    row("tail of a late answer first", "800002421603030425800003931600", 5, "module 9600:3 (9600 3 -1) the module (baud-rate register 9600, station register 3)");
    row("a late answer first", "020304258000024216030304258000039316", 9, "module 9600:3 (9600 3 -1) the module (baud-rate register 9600, station register 3)");
    row("other station register", "0303044B0000078FD5", 0, "device 9600:3 (19200 7 -1) another device (baud-rate register 19200, station register 7)");
    row("exception after a glitch", "FF0383026131", 1, "device 9600:3 (0 0 2) a device that refuses the read (exception 2)");
    row("bad CRC", "030304258000039317", -1, "garbage 9600:3 (0 0 -1) unreadable bytes: something is on the line at this baud");
    row("reply cut short", "0303042580000393", -1, "garbage 9600:3 (0 0 -1) unreadable bytes: something is on the line at this baud");
    row("another station's answer", "020304258000024216", -1, "garbage 9600:3 (0 0 -1) unreadable bytes: something is on the line at this baud");
    row("nothing", "", -1, "nothing 9600:3 (0 0 -1)");
        // clang-format on
    }

    void answers()
    {
        QFETCH(QByteArray, bytes);
        const QByteArray request = probeRequest(3);
        QTEST(answerAt(request, bytes).value_or(-1), "at");
        const Answer a = classify({9600, 3}, request, bytes);
        QTEST(shown(a) + (a.kind == Kind::Nothing ? "" : ' ' + describe(a)), "expected");
    }

    void durations_data()
    {
        QTest::addColumn<QString>("of");
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<qint64>("expected");
        const auto row = [](const char *of, qint64 a, qint64 b, qint64 expected) {
            QTest::addRow("%s %lld %lld", of, a, b) << QString(of) << a << b << expected;
        };
        // clang-format off
    for (const auto &[us, ms] : {std::pair{-5, 0}, {0, 0}, {1, 1}, {999, 1}, {1000, 1}, {1001, 2}}) row("ms", us, 0, ms);
    for (const auto &[baud, us] : {std::pair{19200, 2006}, {9600, 4011}, {1000, 38500}, {0, 0}}) row("silence", baud, 0, us);
    // Two probes at 9600 (150 + 5 ms each), then two at 19200 (100 + 3 ms each): none done,
    // as planned, twice as fast, 361 * 100 / 155 rounded up, all done.
    for (const auto &[done, ms, left] : {std::tuple{0, 0, 516}, {2, 310, 206}, {2, 155, 103}, {1, 100, 233}, {4, 900, 0}}) row("left", done, ms, left);
        // clang-format on
    }

    void durations()
    {
        QFETCH(QString, of);
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        Config config;
        config.plan = {{9600, 1}, {9600, 2}, {19200, 1}, {19200, 2}};
        const qint64 got = of == "ms"        ? msRoundedUp(a)
                           : of == "silence" ? silenceUs(int(a))
                                             : estimateLeftMs(config, int(a), b);
        QTEST(got, "expected");
    }

    // A peer at 9600 baud: station 3 is the module, whose answer follows a glitch
    // byte, 4 another device, 5 answers with an exception, 1 with a bad CRC, the
    // rest are silent; at any other baud every request gets two stray bytes.
    // Probes end once a reply is complete, 3.5 characters of silence (2 ms at
    // 19200 baud, 4 ms at 9600) come between them, and each ending leaves the port
    // as it was; a port lost meanwhile (its pty closed, or its link gone) stays
    // lost, so that it reopens by itself with the first settings once it is back.
    void endings_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QList<int>>("bauds");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("all");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("stopAt");   // the request at which Stop is pressed
        QTest::addColumn<int>("goneAt");   // the request at which the device goes away
        QTest::addColumn<int>("unlinkAt"); // the request after which COM4 names no device
        QTest::addColumn<QString>("requests");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("ending");
        QTest::addColumn<bool>("openAfter");
        // clang-format off
    QTest::newRow("first module, at the other baud") << "19200,N,8,1" << QList<int>{19200, 9600} << 2 << 3 << false << 40 << 0 << 0 << 0
        << "19200:3 19200:2 9600:2 9600:3" << "garbage 19200:3 (0 0 -1)|module 9600:3 (9600 3 -1)" << int(Ending::FoundFirst) << true;
    QTest::newRow("all answer at once") << "19200,E,8,1" << QList<int>{9600} << 3 << 5 << true << 3000 << 0 << 0 << 0
        << "9600:3 9600:4 9600:5" << "module 9600:3 (9600 3 -1)|device 9600:4 (19200 9 -1)|device 9600:5 (0 0 2)" << int(Ending::Completed) << true;
    QTest::newRow("stopped") << "9600,N,8,1" << QList<int>{9600, 19200} << 1 << 9 << true << 40 << 3 << 0 << 0
        << "9600:3 9600:1 9600:2" << "module 9600:3 (9600 3 -1)|garbage 9600:1 (0 0 -1)" << int(Ending::Stopped) << true;
    QTest::newRow("device gone") << "9600,N,8,1" << QList<int>{9600, 19200} << 1 << 2 << true << 40 << 0 << 3 << 0
        << "9600:1 9600:2 19200:1" << "garbage 9600:1 (0 0 -1)" << int(Ending::PortLost) << false;
    QTest::newRow("gone while switching baud") << "9600,N,8,1" << QList<int>{9600, 19200} << 1 << 2 << true << 40 << 0 << 0 << 2
        << "9600:1 9600:2" << "garbage 9600:1 (0 0 -1)" << int(Ending::PortLost) << false;
    QTest::newRow("gone before the restore") << "19200,N,8,1" << QList<int>{9600} << 3 << 3 << false << 40 << 0 << 0 << 1
        << "9600:3" << "module 9600:3 (9600 3 -1)" << int(Ending::FoundFirst) << false;
        // clang-format on
    }

    void endings()
    {
        QFETCH(QString, settings);
        QFETCH(QList<int>, bauds);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, all);
        QFETCH(int, timeoutMs);
        QFETCH(int, stopAt);
        QFETCH(int, goneAt);
        QFETCH(int, unlinkAt);
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
            if (requests.size() == unlinkAt)
                Pty::linkPort(dir.path(), 4, dir.filePath("gone"));
        };
        peer.reply = [&](const QByteArray &request) {
            if (lineBaud(pty.slaveFd()) != 9600)
                return QByteArray::fromHex("FF00");
            switch (request[0]) {
            case 1: return QByteArray::fromHex("010304258000010000");
            case 3: return QByteArray::fromHex("00030304258000039316");
            case 4: return QByteArray::fromHex("0403044B00000978D1");
            case 5: return QByteArray::fromHex("0583028130");
            default: return QByteArray();
            }
        };
        QStringList answers;
        int lastDone = -1;
        connect(&runner, &Runner::progress, [&](const Progress &p) { lastDone = p.done; });
        int untimed = 0; // answers without a reply time
        connect(&runner, &Runner::answered, [&](const Answer &a) {
            answers << shown(a);
            untimed += a.replyMs <= 0;
        });
        Config config;
        config.plan = planProbes({baudOf(settings), bauds, first, last, 3, std::nullopt});
        config.timeoutMs = {{9600, timeoutMs}, {19200, timeoutMs}};
        config.stopAtFirst = !all;
        QElapsedTimer clock;
        clock.start();
        QTEST(int(runner.run(config)), "ending");
        QVERIFY(clock.elapsed() <
                timeoutMs + 2000); // 3 probes of 3000 ms: only when they end early
        QTEST(requests.join(QLatin1Char(' ')), "requests");
        QTEST(answers.join(QLatin1Char('|')), "answers");
        QCOMPARE(untimed, 0);
        QCOMPARE(lastDone, requests.size()); // the last progress counts the probes sent
        for (int i = 1; i < peer.requests.size(); ++i)
            QVERIFY(peer.requests[i].atMs - peer.requests[i - 1].atMs >=
                    (requests[i].startsWith("9600") ? 4 : 2));
        QCOMPARE(port.settings(), settings);
        QTEST(port.portOpen(), "openAfter");
        QCOMPARE(port.inputLen(), 3);
        const bool lost = !port.portOpen();
        Pty back;
        if (lost)
            QVERIFY(Pty::linkPort(dir.path(), 4, back.slavePath()));
        QVERIFY(port.reopenAfterLoss());
        QCOMPARE(lineBaud((lost ? back : pty).slaveFd()), baudOf(settings));
    }
};

QTEST_GUILESS_MAIN(TestModuleSearch)
#include "tst_module_search.moc"
