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
#include <QTimer>
#include <cmath>
#include <cstdio>

using namespace bench;

namespace {
constexpr int kSettleMs = 1000;
constexpr double kLatencyMs = 200;

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
    const QStringList rows = parser.value("rows").split(',');
    QString mode = interval > 0 ? QStringLiteral("cycling at %1 ms").arg(interval)
                                : QStringLiteral("idle with the port open");
    if (parser.isSet("unfocused"))
        mode += QStringLiteral(", no text box focused");

    ToolRig rig;
    Simulator sim(rig.portLink());
    const QString log = rig.path() + QStringLiteral("/sim.log");
    if (!sim.start({}, log)) {
        fprintf(stderr, "bench-cycle: the simulator did not start\n");
        return 1;
    }
    MainWindow &window = rig.open();
    if (!window.serial().portOpen()) {
        fprintf(stderr, "bench-cycle: COM4 did not open\n");
        return 1;
    }
    rig.ui().comDoOnce->click(); // the eight live values, as an operator begins
    runFor(kSettleMs);
    if (parser.isSet("unfocused") && QApplication::focusWidget())
        QApplication::focusWidget()->clearFocus();
    const long rssStart = vmRssKb();
    if (interval > 0) {
        rig.ui().txtTimerSet->setText(QString::number(interval));
        rig.ui().cmdOneM->click();
    }
    const qsizetype firstSend = rig.sent.size(), firstReply = rig.replyMs.size();
    const double cpuStart = cpuSeconds(), wallStart = rig.now();
    runFor(seconds * 1000);
    const double wall = (rig.now() - wallStart) / 1000;
    const double cpuShare = 100 * (cpuSeconds() - cpuStart) / wall;
    QList<double> sent;
    for (const SentRequest &request : rig.sent.mid(firstSend))
        sent << request.ms;
    const QList<double> replies = rig.replyMs.mid(firstReply);
    rig.ui().cmdStopOnce->click();
    runFor(2 * kSettleMs / 5);
    const long rssEnd = vmRssKb();
    sim.stop();

    const QString span = QStringLiteral("%1 s").arg(seconds);
    if (rows.contains("cpu")) {
        const double target = parser.value("cpu-target").toDouble();
        printRow(QStringLiteral("Processor time, %1 (%2)").arg(mode, span),
                 QStringLiteral("%1 % of one core").arg(cpuShare, 0, 'f', 3),
                 QStringLiteral("< %1 %").arg(target), cpuShare < target);
    }
    if (rows.contains("rate"))
        printRow(QStringLiteral("Reads per second, %1 (%2)").arg(mode, span),
                 QString::number(sent.size() / wall, 'f', 2),
                 QStringLiteral("about 5 (200 ms of fixed waits per read)"), std::nullopt);
    if (rows.contains("latency")) {
        const double mid = median(replies), p99 = percentile(replies, 99);
        printRow(
            QStringLiteral("Request sent to reply taken, %1 (n=%2)").arg(mode).arg(replies.size()),
            QStringLiteral("median %1, p99 %2").arg(ms(mid), ms(p99)),
            QStringLiteral("median 200 ± 2 ms, p99 ≤ 210 ms"),
            std::fabs(mid - kLatencyMs) <= 2 && p99 <= kLatencyMs + 10);
    }
    if (rows.contains("spacing")) {
        spacingRow(QStringLiteral("%1, tool side").arg(mode), spacingErrors(sent, interval));
        QList<double> wire;
        const QList<SimEntry> entries = readSimLog(log);
        for (const SimEntry &e : entries) {
            if (e.request)
                wire << static_cast<double>(msAfter(entries.first().ms, e.ms));
        }
        // The log also holds the query made before the cycle started.
        spacingRow(QStringLiteral("%1, on the wire").arg(mode),
                   spacingErrors(wire.mid(1), interval));
    }
    if (rows.contains("memory")) {
        printRow(QStringLiteral("Resident memory after start-up"),
                 QStringLiteral("%1 MB").arg(rssStart / 1024.0, 0, 'f', 1), QString(),
                 std::nullopt);
        const double growth = (rssEnd - rssStart) / 1024.0;
        printRow(QStringLiteral("Resident memory growth, %1 (%2)").arg(mode, span),
                 QStringLiteral("%1 MB (to %2 MB)")
                     .arg(growth, 0, 'f', 2)
                     .arg(rssEnd / 1024.0, 0, 'f', 1),
                 QStringLiteral("< 1 MB"), growth < 1);
    }
    return 0;
}
