// bench-cycle: the tool's window cycling against the simulated module, or
// idle with its port open, for a given time. Prints table rows: processor
// share, reads per second, request-to-reply times, request spacing, memory.

#include "bench/figures.h"
#include "bench/simulator.h"
#include "bench/tool_rig.h"
#include "serial/comm_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <cstdio>
#include <optional>

using namespace bench;

namespace {
constexpr int kSettleMs = 1000;
constexpr int kLastReadMs = 400;
constexpr double kLatencyMs = 200;

struct Measured {
    double cpuShare = 0; // percent of one core
    double wallSeconds = 0;
    QList<double> sentMs, replyMs; // the tool's requests and request-to-reply times
    QList<double> wireMs;          // the cycle's requests in the simulator's log
    long rssStartKb = 0, rssEndKb = 0;
};

// Starts the module and the window, queries once as an operator begins,
// then cycles (or stays idle) for the given time.
std::optional<Measured> measure(int interval, int seconds, bool unfocused)
{
    ToolRig rig;
    Simulator sim(rig.portLink());
    const QString log = rig.path() + QStringLiteral("/sim.log");
    if (!sim.start({}, log) || !rig.open().serial().portOpen())
        return std::nullopt;
    rig.ui().comDoOnce->click();
    runFor(kSettleMs);
    if (unfocused && QApplication::focusWidget())
        QApplication::focusWidget()->clearFocus();
    Measured m;
    m.rssStartKb = vmRssKb();
    if (interval > 0) {
        rig.ui().txtTimerSet->setText(QString::number(interval));
        rig.ui().cmdOneM->click();
    }
    const qsizetype firstSend = rig.sent.size(), firstReply = rig.replyMs.size();
    const double cpuStart = cpuSeconds(), wallStart = rig.now();
    runFor(seconds * 1000);
    m.wallSeconds = (rig.now() - wallStart) / 1000;
    m.cpuShare = 100 * (cpuSeconds() - cpuStart) / m.wallSeconds;
    for (const SentRequest &request : rig.sent.mid(firstSend))
        m.sentMs << request.ms;
    m.replyMs = rig.replyMs.mid(firstReply);
    rig.ui().cmdStopOnce->click();
    runFor(kLastReadMs);
    m.rssEndKb = vmRssKb();
    sim.stop();
    const QList<SimEntry> entries = readSimLog(log);
    for (const SimEntry &e : entries.mid(1)) { // the first is the query before the cycle
        if (e.request)
            m.wireMs << static_cast<double>(msAfter(entries.first().ms, e.ms));
    }
    return m;
}

QList<double> spacingErrors(const QList<double> &moments, int interval)
{
    QList<double> errors;
    for (qsizetype i = 1; i < moments.size(); ++i)
        errors << std::fabs(moments[i] - moments[i - 1] - interval);
    return errors;
}

void spacingRow(const QString &where, const QList<double> &errors)
{
    const double mid = median(errors), p99 = percentile(errors, 99);
    printRow(QStringLiteral("Request spacing error, %1 (n=%2)").arg(where).arg(errors.size()),
             QStringLiteral("median %1, p99 %2").arg(ms(mid), ms(p99)),
             QStringLiteral("median < 2 ms, p99 < 10 ms"), mid < 2 && p99 < 10);
}

void latencyRow(const QString &mode, const QList<double> &replyMs)
{
    const double mid = median(replyMs), p99 = percentile(replyMs, 99);
    printRow(QStringLiteral("Request sent to reply taken, %1 (n=%2)").arg(mode).arg(replyMs.size()),
             QStringLiteral("median %1, p99 %2").arg(ms(mid), ms(p99)),
             QStringLiteral("median 200 ± 2 ms, p99 ≤ 210 ms"),
             std::fabs(mid - kLatencyMs) <= 2 && p99 <= kLatencyMs + 10);
}

void memoryRows(const QString &what, const Measured &m)
{
    printRow(QStringLiteral("Resident memory after start-up"),
             QStringLiteral("%1 MB").arg(m.rssStartKb / 1024.0, 0, 'f', 1), QString(),
             std::nullopt);
    const double growth = (m.rssEndKb - m.rssStartKb) / 1024.0;
    printRow(QStringLiteral("Resident memory growth, %1").arg(what),
             QStringLiteral("%1 MB (to %2 MB)")
                 .arg(growth, 0, 'f', 2)
                 .arg(m.rssEndKb / 1024.0, 0, 'f', 1),
             QStringLiteral("< 1 MB"), growth < 1);
}
} // namespace

int main(int argc, char *argv[])
{
    useOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{"interval", "Cycle interval in ms; 0 stays idle.", "ms", "0"},
                       {"seconds", "Length of the measurement.", "s", "60"},
                       {"rows", "Rows to print: cpu,rate,latency,spacing,memory.", "list", "cpu"},
                       {"cpu-target", "Processor share target, percent of one core.", "pct", "1"},
                       {"unfocused", "No text box holds the focus (no blinking cursor)."}});
    parser.process(app);
    const int interval = parser.value("interval").toInt();
    const int seconds = parser.value("seconds").toInt();
    const auto m = measure(interval, seconds, parser.isSet("unfocused"));
    if (!m) {
        fprintf(stderr, "bench-cycle: the simulator did not start or COM4 did not open\n");
        return 1;
    }

    QString mode = interval > 0 ? QStringLiteral("cycling at %1 ms").arg(interval)
                                : QStringLiteral("idle with the port open");
    if (parser.isSet("unfocused"))
        mode += QStringLiteral(", no text box focused");
    const QString what = QStringLiteral("%1 (%2 s)").arg(mode).arg(seconds);
    const QStringList rows = parser.value("rows").split(',');
    if (rows.contains("cpu")) {
        const double target = parser.value("cpu-target").toDouble();
        printRow(QStringLiteral("Processor time, %1").arg(what),
                 QStringLiteral("%1 % of one core").arg(m->cpuShare, 0, 'f', 3),
                 QStringLiteral("< %1 %").arg(target), m->cpuShare < target);
    }
    if (rows.contains("rate")) {
        // Below 200 ms the fixed waits set the pace: a read follows the one before at once.
        const double rate = m->sentMs.size() / m->wallSeconds;
        printRow(QStringLiteral("Reads per second, %1").arg(what), QString::number(rate, 'f', 2),
                 QStringLiteral(">= 4.9 (200 ms of fixed waits per read)"), rate >= 4.9);
    }
    if (rows.contains("latency"))
        latencyRow(mode, m->replyMs);
    if (rows.contains("spacing")) {
        spacingRow(mode + QStringLiteral(", tool side"), spacingErrors(m->sentMs, interval));
        spacingRow(mode + QStringLiteral(", on the wire"), spacingErrors(m->wireMs, interval));
    }
    if (rows.contains("memory"))
        memoryRows(what, *m);
    return 0;
}
