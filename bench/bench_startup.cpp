// bench-startup: runs itself again and again as a fresh process that makes
// the tool's window and shows it offscreen, with the simulated module on
// COM4; prints the median time from process start to the window painted and
// the resident memory at that moment.

#include "bench/figures.h"
#include "bench/simulator.h"
#include "bench/tool_rig.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

using namespace bench;

namespace {
constexpr int kChildMs = 30000;
constexpr double kTargetMs = 300;

// Since this process started: /proc/self/stat gives the start in clock
// ticks since boot (10 ms steps on most systems).
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Field 22; the fields after the command name, which may hold blanks, start at 3.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startMs = fields.value(22 - 3).toDouble() * 1000 / sysconf(_SC_CLK_TCK);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6 - startMs;
}

// The child: up to the first paint of the window, then the figures on stdout.
int showOnce(const QString &programDir)
{
    MainWindow window(programDir);
    struct FirstPaint : QObject {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, qApp, [] {
                    printf("%.1f %ld\n", msSinceProcessStart(), vmRssKb());
                    QCoreApplication::exit(0);
                });
            return false;
        }
    } firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
} // namespace

int main(int argc, char *argv[])
{
    useOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{"runs", "Number of start-ups.", "n", "20"},
                       {"child", "Start once in this program directory.", "dir"}});
    parser.process(app);
    if (parser.isSet("child"))
        return showOnce(parser.value("child"));

    ToolRig rig;
    Simulator sim(rig.portLink());
    if (!sim.start({}, rig.path() + QStringLiteral("/sim.log"))) {
        fprintf(stderr, "bench-startup: the simulator did not start\n");
        return 1;
    }
    QList<double> startMs, rssKb;
    for (int run = 0; run < parser.value("runs").toInt(); ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), rig.path()});
        if (!child.waitForFinished(kChildMs) || child.exitCode() != 0) {
            fprintf(stderr, "bench-startup: a start-up failed\n");
            return 1;
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        startMs << figures.value(0).toDouble();
        rssKb << figures.value(1).toDouble();
    }
    const double mid = median(startMs);
    printRow(QStringLiteral("Start-up to window painted, median of %1 runs").arg(startMs.size()),
             QStringLiteral("%1 (slowest %2)").arg(ms(mid), ms(percentile(startMs, 100))),
             QStringLiteral("< 300 ms"), mid < kTargetMs);
    printRow(QStringLiteral("Resident memory after start-up, median"),
             QStringLiteral("%1 MB").arg(median(rssKb) / 1024, 0, 'f', 1), QString(), std::nullopt);
    return 0;
}
