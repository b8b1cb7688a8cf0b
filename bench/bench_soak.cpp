// bench-soak: the tool cycling at 50 ms against a faulty simulated module,
// with the operator clicking read and write buttons every few seconds and the
// port vanishing twice (the simulator stopped, started again on the same
// link, COM4 picked again). Checks the simulator's logs against the window
// and prints the figures; the exit status says whether every check passed.

#include "bench/figures.h"
#include "bench/simulator.h"
#include "bench/soak_check.h"
#include "bench/soak_operator.h"
#include "bench/tool_rig.h"
#include "modbus/transactions.h"
#include "serial/comm_port.h"

#include <QComboBox>
#include <QCommandLineParser>
#include <QLabel>
#include <algorithm>

using namespace bench;

namespace {
// The stretches of a run. A short run (the tests' own) scales them down, so that
// each still holds several reads and clicks; from 30 s on they are these.
struct Pace {
    int clickEveryMs = 2000;
    int warmUpMs = 3000;
    int quietBeforeLossMs = 1000; // clicks queued before the loss get served
    int outageMs = 2000;
};

Pace paceFor(int runMs)
{
    const int quarter = runMs / 4;
    const Pace full;
    return {std::min(full.clickEveryMs, quarter), std::min(full.warmUpMs, runMs / 2),
            std::min(full.quietBeforeLossMs, quarter), std::min(full.outageMs, quarter)};
}
constexpr int kDelaysMs[] = {0, 150, 300}; // within, near the end of, past a read's wait
constexpr int kRuns = std::size(kDelaysMs);
constexpr int kCom4Position = 3;
constexpr double kMaxGrowthMb = 4;
constexpr double kMinToolSpacingMs = 199;

QStringList faultOptions(int run)
{
    return QStringList{"--drop",
                       "0.1",
                       "--corrupt",
                       "0.1",
                       "--truncate",
                       "0.05",
                       "--noise",
                       "0.05",
                       "--locked",
                       "--delay",
                       QString::number(kDelaysMs[run])} +
           QStringList{"--seed", QString::number(run + 1)};
}

bool redLampInFront(const FormControls &ui)
{
    const QObjectList lamps = ui.Picture2->children();
    const auto front = std::find_if(lamps.crbegin(), lamps.crend(),
                                    [](QObject *o) { return qobject_cast<QLabel *>(o); });
    return front != lamps.crend() && *front == ui.imgNotConnected;
}

// What the window and the process showed during and after the soak.
struct Seen {
    int losses = 0, reopened = 0, redReads = 0;
    bool cycling = false;
    long rssStartKb = 0, rssEndKb = 0;
    double minSpacingMs = 1e9;
    int counted = 0, received = 0;
};

class Soak {
public:
    Soak() : m_sim(m_rig.portLink()) {}
    bool run(int seconds);
    int report() const;

private:
    QString logPath(int run) const { return m_rig.path() + QStringLiteral("/sim-%1.log").arg(run); }
    bool portVanishes(int run, int cycleMs);

    ToolRig m_rig;
    Simulator m_sim;
    std::unique_ptr<SoakOperator> m_operator;
    Seen m_seen;
    Pace m_pace;
};

bool Soak::run(int seconds)
{
    if (!m_sim.start(faultOptions(0), logPath(0)))
        return false;
    MainWindow &window = m_rig.open();
    const FormControls &ui = m_rig.ui();
    QObject::connect(&window.serial(), &CommPort::portLost, [this] { ++m_seen.losses; });
    auto *timer2 = window.findChild<QTimer *>(QStringLiteral("Timer2"));
    // Runs after the tick's own handler: a read that found the port gone ends at once.
    QObject::connect(timer2, &QTimer::timeout, [this, &window] {
        m_seen.redReads += !window.client().busy() && redLampInFront(m_rig.ui()) ? 1 : 0;
    });
    ui.txtTimerSet->setText(QStringLiteral("50"));
    ui.cmdOneM->click();
    const int runMs = seconds * 1000 / kRuns;
    m_pace = paceFor(runMs);
    m_operator = std::make_unique<SoakOperator>(ui, m_pace.clickEveryMs);
    runFor(m_pace.warmUpMs);
    m_seen.rssStartKb = vmRssKb();
    runFor(runMs - m_pace.warmUpMs);
    for (int run = 1; run < kRuns; ++run) {
        if (!portVanishes(run, runMs))
            return false;
    }
    m_operator->setPaused(true);
    m_seen.cycling = timer2->isActive() && window.serial().portOpen();
    ui.cmdStopOnce->click();
    runFor(m_pace.quietBeforeLossMs);
    m_seen.rssEndKb = vmRssKb();
    m_sim.stop();
    m_seen.counted = ui.lblCounter->text().toInt() - 1; // "循环" set it to 1
    m_seen.received = ui.lblRecCount->text().toInt();
    for (qsizetype i = 1; i < m_rig.sent.size(); ++i)
        m_seen.minSpacingMs =
            std::min(m_seen.minSpacingMs, m_rig.sent[i].ms - m_rig.sent[i - 1].ms);
    return true;
}

// The simulator goes away while the tool cycles, comes back on the same
// link, and the operator picks COM4 again.
bool Soak::portVanishes(int run, int cycleMs)
{
    m_operator->setPaused(true);
    runFor(m_pace.quietBeforeLossMs);
    m_sim.stop();
    runFor(m_pace.outageMs);
    if (!m_sim.start(faultOptions(run), logPath(run)))
        return false;
    QComboBox *combo = m_rig.ui().Combo1;
    combo->setCurrentIndex(kCom4Position);
    emit combo->activated(kCom4Position);
    m_seen.reopened += m_rig.window().serial().portOpen() ? 1 : 0;
    m_operator->setPaused(false);
    runFor(cycleMs - m_pace.quietBeforeLossMs - m_pace.outageMs);
    return true;
}

int failures = 0;
void check(const QString &what, const QString &figure, const QString &bound, bool ok)
{
    printRow(what, figure, bound, ok);
    failures += ok ? 0 : 1;
}

QString n(qint64 value)
{
    return QString::number(value);
}

int Soak::report() const
{
    QList<QList<SimEntry>> logs;
    for (int run = 0; run < kRuns; ++run)
        logs << readSimLog(logPath(run));
    const LineFigures line = lineFigures(logs, m_rig.sent);
    const Seen &s = m_seen;
    const SoakOperator &op = *m_operator;
    printf("| Check | Figure | Bound | Verdict |\n|---|---|---|---|\n");
    check("Still cycling at the end, port open", s.cycling ? "yes" : "no", "yes", s.cycling);
    check("Port losses seen / COM4 reopened", n(s.losses) + " / " + n(s.reopened), n(kRuns - 1),
          s.losses == kRuns - 1 && s.reopened == kRuns - 1);
    check("Reads while the port was gone (red lamp, not counted)", n(s.redReads), "> 0",
          s.redReads > 0);
    check("Write clicks / writes logged", n(op.writes) + " / " + n(line.writes), "equal",
          op.writes == line.writes);
    check("Read clicks / changes of read request logged",
          n(op.reads) + " / " + n(line.readKindChanges), "equal", op.reads == line.readKindChanges);
    check("Smallest request spacing, tool side", ms(s.minSpacingMs), "≥ 199 ms",
          s.minSpacingMs >= kMinToolSpacingMs);
    // A busy machine can keep the simulator from logging a request for some
    // 100 ms, so its log shows no more than that every request it got was one
    // the tool sent (checked below), and the tool's own record is exact.
    printRow("Smallest request spacing in the simulator's log / under 190 ms",
             ms(line.minSpacingMs) + " / " + n(line.closeOnWire),
             "logged up to " + ms(line.maxLogLagMs) + " after the tool sent", std::nullopt);
    // A read in flight when the port vanished is counted without reaching the log.
    check("lblCounter − 1 / reads logged", n(s.counted) + " / " + n(line.reads),
          "logged to logged + " + n(kRuns - 1),
          s.counted >= line.reads && s.counted <= line.reads + kRuns - 1);
    check("lblRecCount / reads that took ≥ 3 bytes (sure–at most)",
          n(s.received) + " / " + n(line.countedSure) + "–" + n(line.countedAtMost), "within",
          s.received >= line.countedSure && s.received <= line.countedAtMost);
    printRow("Requests left unanswered / replies sent (simulator)",
             n(line.dropped) + " / " + n(line.replies), QString(), std::nullopt);
    check("Logged requests the tool did not send", n(line.unmatched), "0", line.unmatched == 0);
    check("Message boxes", n(op.messages), "0", op.messages == 0);
    check("Resident memory, after warm-up → end",
          QStringLiteral("%1 → %2 MB")
              .arg(s.rssStartKb / 1024.0, 0, 'f', 1)
              .arg(s.rssEndKb / 1024.0, 0, 'f', 1),
          "growth < 4 MB", (s.rssEndKb - s.rssStartKb) / 1024.0 < kMaxGrowthMb);
    return failures == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    useOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"seconds", "Length of the soak.", "s", "600"});
    parser.process(app);
    Soak soak;
    if (!soak.run(parser.value("seconds").toInt())) {
        fprintf(stderr, "bench-soak: the simulator did not start\n");
        return 1;
    }
    return soak.report();
}
