// rv4820-sim: plays an RV4820 module on a serial device or a pseudo-terminal.

#include "sim/module_model.h"
#include "sim/options.h"
#include "sim/parent_watch.h"
#include "sim/pty_line.h"
#include "sim/quit_signals.h"
#include "sim/serial_line.h"
#include "sim/stdin_commands.h"
#include "sim/server.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
constexpr int kUsageError = 2;
constexpr int kLineError = 1;

void complain(const QString &text)
{
    fprintf(stderr, "rv4820-sim: %s\n", qPrintable(text));
}

std::unique_ptr<sim::Line> openLine(const sim::Options &options, QString &error)
{
    if (!options.device.isEmpty())
        return sim::SerialLine::open(options.device, options.baud, error);
    std::unique_ptr<sim::PtyLine> pty = sim::PtyLine::create(options.ptyLink, options.baud, error);
    if (pty)
        printf("%s -> %s\n", qPrintable(options.ptyLink), qPrintable(pty->slaveName()));
    return pty;
}
} // namespace

int main(int argc, char *argv[])
{
    if (!sim::endWithParent())
        return 0; // started by a program that is gone already: nobody to serve
    QCoreApplication app(argc, argv);
    sim::Options options;
    QString error;
    switch (sim::parseOptions(QCoreApplication::arguments(), options, error)) {
    case sim::ParseResult::HelpShown: return 0;
    case sim::ParseResult::Error:
        complain(error + QStringLiteral(" (see --help)"));
        return kUsageError;
    case sim::ParseResult::Run: break;
    }
    sim::QuitSignals quitSignals;
    if (!quitSignals.isReady())
        complain(QStringLiteral("cannot catch SIGINT and SIGTERM; a link may be left behind"));
    QObject::connect(&quitSignals, &sim::QuitSignals::quitRequested, &app,
                     [] { QCoreApplication::quit(); });
    std::unique_ptr<sim::Line> line = openLine(options, error);
    if (!line) {
        complain(error);
        return kLineError;
    }
    int status = 0;
    QObject::connect(line.get(), &sim::Line::failed, &app, [&status](const QString &reason) {
        complain(reason);
        status = kLineError;
        QCoreApplication::quit();
    });
    sim::ModuleModel model(options.station, options.locked, options.baud);
    model.setAnalog(options.analog);
    sim::StdinCommands commands(model);
    sim::Faults faults(options.faults, options.seed);
    sim::Server server(*line, model, faults, options.baud);
    printf("station %d, %d baud%s, seed %u\n", options.station, options.baud,
           options.locked ? ", locked" : "", options.seed);
    fflush(stdout);
    const int loopStatus = QCoreApplication::exec();
    return status != 0 ? status : loopStatus;
}
