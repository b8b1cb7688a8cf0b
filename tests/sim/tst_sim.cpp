// The simulator: first its logic without a port (the byte stream cut into requests, each
// answered by the module; the current curves; the line faults), then the program itself:
// its command line, its line on a pseudo-terminal or a serial device, the faults it plays,
// its signals, its end with its parent, and a stock Modbus client against it.

#include "sim/faults.h"
#include "sim/framer.h"
#include "sim/module_model.h"
#include "sim/stdin_commands.h"
#include "tests/support/pty.h"

#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>

namespace {
const QByteArray kRead = QByteArray::fromHex("02030008000245FA"); // baud and station
const QByteArray kReply = QByteArray::fromHex("0203044B0000025F16");

// Sends a request on the line; the reply once `count` bytes have come, or after ms.
QByteArray ask(QFile &line, const QByteArray &request, int count, int ms = 3000)
{
    QByteArray got = line.write(request) == request.size() ? "" : "not sent";
    for (QDeadlineTimer end(ms); got.size() < count && !end.hasExpired(); QThread::msleep(5))
        got += line.read(256);
    return got;
}
} // namespace

class TestSim : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_link = m_dir.filePath("link");
    QProcess m_sim; // on a pseudo-terminal linked at m_link

private slots:
    void requests_data()
    {
        QTest::addColumn<QByteArray>("chunks");  // hexadecimal, as they arrive; ".": a silence
        QTest::addColumn<QByteArray>("replies"); // all the module sends
        QTest::addColumn<QList<int>>("after");   // locked, then a register and its value afterwards
        const auto row = [](const char *name, const QByteArray &chunks, const char *replies,
                            const QList<int> &after = {0, 9, 2}) {
            QTest::newRow(name) << chunks << QByteArray::fromHex(replies) << after;
        };
        // clang-format off
        row("up to the last register", "020300100002C5FD", "02030427102710D87E");
        row("past the last register; quantity 125, past the end", "020300110002943D 02030000007D85D8", "02830230F102830230F1");
        row("quantity 0; quantity 126", "02030000000045F9 02030000007EC5D9", "028303F131028303F131");
        row("function 4, at the silence", "02040000000131F9 .", "02840172C0");
        row("write a live value; past the end", "020600070001F9F8 020600120001E83C", "02860233A102860233A1");
        row("other station; bad CRC, at the silence", "03030000000845EE 020300000008443E .", "");
        // Writes are echoed; the station register does not move the listener.
        row("broadcast, kept unanswered", "00060009006459F2", "", {0, 9, 100});
        row("locked", "0206000A2328B0D5", "0206000A2328B0D5", {1, 10, 10000});
        row("in pieces, back to back, station", "02 03000800 0245FA02060009000599F8 02030008000245FA", "0203044B0000025F1602060009000599F80203044B0000051ED4", {0, 9, 5});
        // A good request behind garbage is lost with it, up to the silence.
        row("bad CRC first", "02030008000245FB02030008000245FA . 02030008000245FA", "0203044B0000025F16");
        // 256 bytes are the longest frame: one more ends it without a silence.
        row("256 bytes", QByteArray("7F").repeated(256) + " 02030008000245FA", "");
        row("257 bytes", QByteArray("7F").repeated(257) + " 02030008000245FA", "0203044B0000025F16");
        // clang-format on
    }

    void requests()
    {
        QFETCH(QByteArray, chunks);
        QFETCH(QByteArray, replies);
        QFETCH(QList<int>, after);
        sim::ModuleModel model(2, after[0] == 1);
        sim::Framer framer;
        QByteArray sent;
        for (const QByteArray &chunk : chunks.split(' '))
            for (const QByteArray &frame : chunk == "." ? QByteArrayList{framer.silence()}
                                                        : framer.feed(QByteArray::fromHex(chunk)))
                sent += model.handleRequest(frame, 0).value_or(QByteArray());
        QCOMPARE(sent, replies);
        QCOMPARE(int(model.value(after[1], 0)), after[2]);
    }

    void currentsAndFaults()
    {
        sim::ModuleModel model(2, false);
        model.handleRequest(QByteArray::fromHex("0206000E1388E56C"), 0); // output 1 halves input 1
        model.setAnalog({{1, 1, 1, 1}, {1.01, 1, 1, 1}, {-1, -1, -1, -1}, {}});
        for (qint64 t = 0; t < qint64(3600) * 1000; t += 1000) // 4 to 20 mA, the channels in turn
            QVERIFY(qAbs(model.value(t % 4, t) - 1200) <= 800 &&
                    model.value(4, t) == model.value(0, t)); // what it means to carry
        const int halved = (model.value(0, 0) + 1) / 2;      // the register holds whole hundredths
        QCOMPARE(model.meterNotes(0),
                 QStringList{"output 1 on the meter: " +
                             QString::number(halved * 1.01 / 100, 'f', 2) + " mA"});
        // A zero error before the gain, and a calibrator stepped by a line on standard input.
        model.setAnalog({{1.012, 1, 1, 1}, {1, 1, 1, 1}, {400, -1, -1, -1}, {0.05, 0, 0, 0}});
        QCOMPARE(model.value(0, 0), 410); // (400 + 5) x 1.012 = 409.86
        const auto held = sim::parseCurrentCommand(" current  1 12.0");
        QVERIFY(held && !sim::parseCurrentCommand("current 5 1") &&
                !sim::parseCurrentCommand("current 1 25.01") &&
                !sim::parseCurrentCommand("volts 1 2"));
        model.holdInput(held->channel, held->hundredths);
        QCOMPARE(model.value(0, 0), 1219); // (1200 + 5) x 1.012 = 1219.46
        // The line falls silent after 3.5 characters of 11 bits, in whole milliseconds.
        QList<int> silences;
        for (int baud : {9600, 110, 19249, 19250, 38500, 0})
            silences << sim::Framer::silenceMs(baud);
        QCOMPARE(silences, QList<int>({5, 350, 3, 2, 2, 2})); // exact at 110 and 19250; 2 at least
        QSet<qsizetype> cutLengths;
        for (quint32 seed = 0; seed < 2000; ++seed) { // many seeds: a rare miss shows too
            QStringList notes;
            const QByteArray corrupt = sim::Faults({0, 0, 1, 0, 0}, seed).spoil(kReply, notes);
            sim::Faults cutter({0, 0, 0, 1, 0}, seed); // a fault that is off draws nothing,
            QVERIFY(!cutter.dropRequest());            // so the cut is the seed's own
            const QByteArray cut = cutter.spoil(kReply, notes);
            QStringList more;
            QCOMPARE(cut, sim::Faults({0, 0, 0, 1, 0}, seed).spoil(kReply, more));
            const QByteArray noisy = sim::Faults({0, 0, 0, 0, 1}, seed).spoil(kReply, notes);
            QCOMPARE(notes, QStringList({"corrupt", "truncate", "noise"}));
            // The CRC's last byte changes; a cut reply is strictly shorter; noise goes around.
            QVERIFY(corrupt.size() == 9 && corrupt.left(8) == kReply.left(8) && corrupt != kReply);
            QVERIFY(!cut.isEmpty() && cut.size() < kReply.size() && kReply.startsWith(cut));
            QVERIFY(noisy.indexOf(kReply) > 0 && noisy.size() <= 15 && !noisy.endsWith(kReply));
            QVERIFY(sim::Faults({0, 1, 0, 0, 0}, seed).dropRequest());
            cutLengths << cut.size();
        }
        QCOMPARE(cutLengths.size(), 8); // every length from 1 to 8, as the seed varies
    }

    void program()
    {
        QVERIFY(QFile(m_dir.filePath("file")).open(QIODevice::WriteOnly)); // where a link should go
                                                                           // clang-format off
        for (const QString &row : {"0 --help", "2 --pty l --station 0", "2 --pty l --station 248", "2 --pty l --drop 1.5", "2 --pty l x", "2 --pty l --input-gain 5:1.01", "2 --pty l --output-gain 1:1.6", "2 --pty l --input-current 1", "2 --pty l --input-offset 1:2.5", "1 --pty /none/l", "1 --pty FILE"}) {
            // clang-format on
            QProcess p; // exit code, then the arguments
            p.start(RV_SIM_PATH, row.mid(2).replace("FILE", m_dir.filePath("file")).split(' '));
            QVERIFY2(p.waitForFinished() && p.exitCode() == row[0].digitValue(), qPrintable(row));
            QVERIFY(row[0] == '0' || p.readAllStandardError().startsWith("rv4820-sim: "));
        }
        QVERIFY(QFile::exists(m_dir.filePath("file"))); // left alone
        Pty pty;
        m_sim.start(RV_SIM_PATH, {"--device", pty.slavePath(), "--noise", "1", "--delay", "300"});
        QVERIFY(m_sim.waitForReadyRead() && pty.writeToMaster(kRead)); // it has opened the device
        const QDeadlineTimer early(290);
        QVERIFY(pty.readFromMaster(3000).indexOf(kReply) > 0 && early.hasExpired()); // noise, late
        pty.closeMaster(); // the device goes away: the run ends, failed
        QVERIFY(m_sim.waitForFinished(10000) && m_sim.exitCode() == 1);
        // At 50 baud the line falls silent after 770 ms. A stale link is replaced.
        QVERIFY(QFile::link(m_dir.filePath("gone"), m_link));
        m_sim.start(RV_SIM_PATH, {"--pty", m_link, "--baud", "50", "--noise", "0"});
        QVERIFY(QTest::qWaitFor([&] { return QFile::symLinkTarget(m_link).startsWith("/dev/"); },
                                10000));
        QFile line;
        QVERIFY(line.open(::open(qPrintable(m_link), O_RDWR | O_NOCTTY | O_NONBLOCK),
                          QIODevice::ReadWrite | QIODevice::Unbuffered, QFile::AutoCloseHandle));
        const QByteArray reply50 = QByteArray::fromHex("02030400320002E93D"); // its baud, 50
        QCOMPARE(ask(line, kRead, 9), reply50);
        QCOMPARE(ask(line, QByteArray::fromHex("02040000000131F9"), 5), // answered at the silence
                 QByteArray::fromHex("02840172C0"));
        QByteArray out; // the log: a frame lost with the garbage is logged unanswered
        QVERIFY(line.write("\x55" + kRead) == 9 &&
                QTest::qWaitFor(
                    [&] {
                        return (out += m_sim.readAllStandardOutput())
                            .contains("55 02 03 00 08 00 02 45 FA (no reply)");
                    },
                    10000) &&
                line.read(256).isEmpty());
        QVERIFY(ask(line, kRead.left(3), 1, 100).isEmpty()); // a pause inside a request
        QCOMPARE(ask(line, kRead.mid(3), 9), reply50);
        m_sim.write("\n"); // an empty line read alone, then a command: it is still heard
        QTest::qWait(100);
        m_sim.write("current 1 5\n");
        QVERIFY(QTest::qWaitFor([&] {
            return (out += m_sim.readAllStandardOutput()).contains("now held at 5.00 mA");
        }));
        QVERIFY(QFile::remove(m_link) && QFile::link(m_dir.filePath("file"), m_link));
        m_sim.terminate(); // the link another run took meanwhile stays
        QVERIFY(m_sim.waitForFinished() && m_sim.exitCode() == 0 &&
                QFile::symLinkTarget(m_link) == m_dir.filePath("file") && QFile::remove(m_link));
        const QRegularExpression logged("\\d\\d:\\d\\d\\.\\d{3} <- 02 03 04 00 32 00 02 E9 3D\\n");
        QVERIFY(
            logged.match(out + m_sim.readAllStandardOutput()).hasMatch()); // every frame is logged
        m_sim.start(RV_SIM_PATH, {"--pty", m_link, "--baud", "2400"});
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(m_link).isSymLink(); }, 10000));
        QFile tty(m_link);
        termios tio{};
        QVERIFY(tty.open(QIODevice::ReadOnly) && tcgetattr(tty.handle(), &tio) == 0 &&
                cfgetospeed(&tio) == B2400);
        m_sim.terminate();
        QVERIFY(m_sim.waitForFinished() && !QFileInfo(m_link).isSymLink()); // its own link goes
    }

    // Killed with no warning, its parent cannot stop it: it ends by itself, cleanly.
    void endsWithItsParent()
    {
        QVERIFY(prctl(PR_SET_CHILD_SUBREAPER, 1) == 0); // the orphan comes to us, to be reaped
        QFile::remove(m_link); // the link shows the simulator ready, asking for the signal
        QProcess parent;
        parent.start("sh",
                     {"-c", R"("$0" --pty "$1" >/dev/null & echo $!; wait)", RV_SIM_PATH, m_link});
        QVERIFY(parent.waitForReadyRead());
        const pid_t pid = parent.readAll().trimmed().toInt();
        QVERIFY(pid > 0);
        bool reaped = false; // a simulator that outlived the check goes now
        const auto cleanup =
            qScopeGuard([&] { reaped || (kill(pid, SIGKILL), waitpid(pid, nullptr, 0)); });
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(m_link).isSymLink(); }, 10000));
        parent.kill();
        int status = -1;
        QVERIFY(
            QTest::qWaitFor([&] { return reaped = waitpid(pid, &status, WNOHANG) == pid; }, 10000));
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0 && !QFileInfo(m_link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
