// bench-trend: what the trend and the recording cost. Prints table rows:
// processor time of a 50 ms cycle with the trend window closed and open at
// 10 min, one full redraw of 24 hours at span "all", the memory of those 24
// hours, and what recording adds to the handling of one read.

#include "app/trend_feature.h"
#include "app/trend_window.h"
#include "bench/figures.h"
#include "bench/simulator.h"
#include "bench/tool_rig.h"
#include "device/live_log.h"
#include "serial/comm_port.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <qcustomplot.h>

using namespace bench;

namespace {
constexpr qsizetype kDay = qsizetype(24) * 3600 * 5;

double cpuShareOver(int seconds)
{
    const double cpu = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(seconds * 1000);
    return 100 * (cpuSeconds() - cpu) / (double(wall.elapsed()) / 1000);
}

// The same cycle, first with the window closed, then with it open at 10 min.
bool cycleRows(int seconds)
{
    ToolRig rig;
    Simulator sim(rig.portLink());
    if (!sim.start({}, rig.path() + QStringLiteral("/sim.log")) || !rig.open().serial().portOpen())
        return false;
    // The query first, as an operator begins: the cycle reads what it read.
    rig.ui().comDoOnce->click();
    runFor(1000);
    rig.ui().txtTimerSet->setText(QStringLiteral("50"));
    rig.ui().cmdOneM->click();
    runFor(1000);
    const double closed = cpuShareOver(seconds);
    TrendWindow *trend = rig.window().findChild<TrendFeature *>()->openTrend();
    runFor(1000);
    const double open = cpuShareOver(seconds);
    const bool drawn = trend->plot().graph(0)->dataCount() > 0;
    rig.ui().cmdStopOnce->click();
    runFor(400);
    const QString what = QStringLiteral("cycling at 50 ms (%1 s each)").arg(seconds);
    printRow(QStringLiteral("Processor time, trend window closed, %1").arg(what),
             QStringLiteral("%1 % of one core").arg(closed, 0, 'f', 3), QString(), std::nullopt);
    printRow(QStringLiteral("Processor time, trend window open at 10 min, %1").arg(what),
             QStringLiteral("%1 % of one core, %2 × closed")
                 .arg(open, 0, 'f', 3)
                 .arg(open / closed, 0, 'f', 2),
             QStringLiteral("< 5 %, ≤ 3 × closed"), drawn && open < 5 && open <= 3 * closed);
    return true;
}

device::LiveRead liveRead(qint64 msecs, int i)
{
    device::LiveRead read;
    read.at = QDateTime::fromMSecsSinceEpoch(msecs);
    read.wrote = i % 50 != 0; // a dropped reply now and then
    read.wellFormed = i % 77 != 0;
    for (int k = 0; k < device::kLiveChannels && read.wrote; ++k)
        read.texts[static_cast<std::size_t>(k)] =
            k < 4 ? QString::number(400 + 100 * std::sin(i / 900.0 + k), 'f', 2)
                  : QString::number(2000 + k + i % 17);
    read.reply = QStringLiteral("02 03 10 01 90 01 91 01 92 01 93 07 D0 07 D1 07 D2 07 D3 AA BB");
    return read;
}

// A day of samples, shown at span "all": one full redraw, and the memory.
void dayRows()
{
    device::LiveLog log;
    TrendWindow trend(log);
    trend.span().setCurrentIndex(3);
    trend.resize(960, 640); // larger than the offscreen screen would give
    trend.show();
    runFor(300);
    const long before = vmRssKb();
    const qint64 start = QDateTime::currentMSecsSinceEpoch() - kDay * 200;
    for (qsizetype i = 0; i < kDay; ++i)
        log.add(liveRead(start + 200 * i, static_cast<int>(i)));
    QList<double> redraws, processor;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer clock;
        clock.start();
        const double cpu = cpuSeconds();
        trend.setFollowing(true);
        QApplication::processEvents(); // the paint
        redraws << double(clock.nsecsElapsed()) / 1e6;
        processor << (cpuSeconds() - cpu) * 1000;
    }
    const double grown = double(vmRssKb() - before) / 1024;
    printRow(
        QStringLiteral("One full redraw, 24 h (%1 samples a channel) at span \"all\", median of 10")
            .arg(log.history().size()),
        QStringLiteral("%1 (slowest %2; processor time %3)")
            .arg(ms(median(redraws)), ms(percentile(redraws, 100)), ms(median(processor))),
        QStringLiteral("< 30 ms"), median(redraws) < 30);
    printRow(QStringLiteral("Resident memory of 24 h of history, trend window open at \"all\""),
             QStringLiteral("%1 MB").arg(grown, 0, 'f', 1), QStringLiteral("< 60 MB"), grown < 60);
}

// The handling of one read, with and without a recording to a real file.
void recordingRow(int reads)
{
    QTemporaryDir dir;
    device::LiveLog log;
    const auto handle = [&](bool recording) {
        if (recording)
            log.startRecording(dir.filePath(QStringLiteral("bench.csv")));
        QList<double> times;
        for (int i = 0; i < reads; ++i) {
            QElapsedTimer clock;
            clock.start();
            log.add(liveRead(QDateTime::currentMSecsSinceEpoch(), i));
            times << double(clock.nsecsElapsed()) / 1e6;
        }
        log.stopRecording();
        return times;
    };
    const QList<double> off = handle(false), on = handle(true);
    const double added = median(on) - median(off);
    printRow(QStringLiteral("Added to the handling of one read by recording (n=%1)").arg(reads),
             QStringLiteral("median %1 µs (p99 %2 µs with, %3 µs without)")
                 .arg(added * 1000, 0, 'f', 1)
                 .arg(percentile(on, 99) * 1000, 0, 'f', 1)
                 .arg(percentile(off, 99) * 1000, 0, 'f', 1),
             QStringLiteral("< 1 ms"), added < 1 && percentile(on, 99) < 1);
}
} // namespace

int main(int argc, char *argv[])
{
    useOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{"seconds", "Length of each processor measurement.", "s", "60"}});
    parser.process(app);
    if (!cycleRows(parser.value("seconds").toInt())) {
        fprintf(stderr, "bench-trend: the simulator did not start or COM4 did not open\n");
        return 1;
    }
    dayRows();
    recordingRow(2000);
    return 0;
}
