// bench-search: how long the search for a module takes with its default
// timeouts, through the tool's own port component, against rv4820-sim on a
// pseudo-terminal (or a pseudo-terminal with nothing behind it). The port is
// at 19200 baud with station 2 in the station box and in ModSet.set.

#include "bench/figures.h"
#include "bench/simulator.h"
#include "device/module_search.h"
#include "serial/comm_port.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <pty.h>
#include <unistd.h>

using namespace bench;

namespace {
constexpr int kPresentBaud = 19200;
constexpr int kOtherBaud = 9600;
constexpr int kBoxStation = 2;

struct Outcome {
    double foundMs = -1; // when the module was reported
    double totalMs = 0;
    int answers = 0;
};

Outcome search(const QString &programDir)
{
    CommPort port({programDir});
    port.setCommPort(4);
    port.setSettings(QStringLiteral("19200,N,8,1"));
    if (!port.setPortOpen(true)) {
        fprintf(stderr, "bench-search: COM4 does not open: %s\n", qPrintable(port.lastError()));
        return {};
    }
    modsearch::Runner runner(port);
    modsearch::Config config;
    config.plan = modsearch::planProbes(
        {kPresentBaud, {kPresentBaud, kOtherBaud}, 1, 247, kBoxStation, kBoxStation});
    Outcome outcome;
    QElapsedTimer clock;
    QObject::connect(&runner, &modsearch::Runner::answered, [&](const modsearch::Answer &a) {
        ++outcome.answers;
        if (a.kind == modsearch::Kind::Module && outcome.foundMs < 0)
            outcome.foundMs = double(clock.nsecsElapsed()) / 1e6;
    });
    clock.start();
    runner.run(config);
    outcome.totalMs = double(clock.nsecsElapsed()) / 1e6;
    if (port.settings() != QStringLiteral("19200,N,8,1") || !port.portOpen())
        fprintf(stderr, "bench-search: the port was not restored\n");
    return outcome;
}

QString seconds(double value)
{
    return value < 1000 ? ms(value) : QStringLiteral("%1 s").arg(value / 1000, 0, 'f', 2);
}

void foundRow(const QString &what, const Outcome &o, double targetMs)
{
    printRow(what, o.foundMs < 0 ? QStringLiteral("not found") : seconds(o.foundMs),
             QStringLiteral("< %1").arg(seconds(targetMs)), o.foundMs >= 0 && o.foundMs < targetMs);
}

void moduleRow(const QString &dir, const QStringList &simOptions, const QString &what,
               double targetMs)
{
    Simulator sim(dir + QStringLiteral("/ports/COM4"));
    if (!sim.start(simOptions + QStringList{QStringLiteral("--seed"), QStringLiteral("1")},
                   dir + QStringLiteral("/sim.log"))) {
        fprintf(stderr, "bench-search: the simulator did not start\n");
        return;
    }
    foundRow(what, search(dir), targetMs);
}

void emptyLineRow(const QString &dir)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    const QString link = dir + QStringLiteral("/ports/COM4");
    QFile::remove(link);
    QFile::link(QString::fromLocal8Bit(name), link);
    const Outcome o = search(dir);
    printRow(QStringLiteral("Search with nothing on the line, both bauds, stations 1 to 247 "
                            "(494 probes)"),
             seconds(o.totalMs) + QStringLiteral(", %1 answers").arg(o.answers),
             QStringLiteral("< 65.00 s"), o.totalMs < 65000 && o.answers == 0);
    close(master);
    close(slave);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times the search for a module."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("rows"), QStringLiteral("box,far,empty (default all)"),
                      QStringLiteral("list"), QStringLiteral("box,far,empty")});
    parser.process(app);
    const QStringList rows = parser.value(QStringLiteral("rows")).split(QLatin1Char(','));
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("ports")));
    if (rows.contains(QStringLiteral("box")))
        moduleRow(dir.path(), {QStringLiteral("--station"), QString::number(kBoxStation)},
                  QStringLiteral("Search: module at the station box's station, present baud"), 500);
    if (rows.contains(QStringLiteral("far")))
        moduleRow(dir.path(),
                  {QStringLiteral("--station"), QStringLiteral("247"), QStringLiteral("--baud"),
                   QStringLiteral("9600")},
                  QStringLiteral("Search: module at station 247 at the other baud, both bauds"),
                  65000);
    if (rows.contains(QStringLiteral("empty")))
        emptyLineRow(dir.path());
    return 0;
}
