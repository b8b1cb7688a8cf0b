#include "sim/options.h"

#include <QCommandLineParser>
#include <QRandomGenerator>

namespace sim {

namespace {
struct Reader {
    const QCommandLineParser &parser;
    QString &error;

    bool whole(const QString &name, long long low, long long high, long long &value) const
    {
        if (!parser.isSet(name))
            return true;
        bool ok = false;
        const long long v = parser.value(name).toLongLong(&ok);
        if (!ok || v < low || v > high) {
            error = QStringLiteral("--%1 wants a whole number from %2 to %3, not \"%4\"")
                        .arg(name)
                        .arg(low)
                        .arg(high)
                        .arg(parser.value(name));
            return false;
        }
        value = v;
        return true;
    }

    bool share(const QString &name, double &value) const
    {
        if (!parser.isSet(name))
            return true;
        bool ok = false;
        const double v = parser.value(name).toDouble(&ok);
        if (!ok || !(v >= 0.0 && v <= 1.0)) {
            error = QStringLiteral("--%1 wants a share from 0 to 1, not \"%2\"")
                        .arg(name, parser.value(name));
            return false;
        }
        value = v;
        return true;
    }
};

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Simulated RV4820 module: a Modbus RTU server on a serial line."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("device"), QStringLiteral("Serve on an existing serial device."),
         QStringLiteral("path")},
        {QStringLiteral("pty"),
         QStringLiteral("Create a pseudo-terminal and link it at <link> (removed on exit)."),
         QStringLiteral("link")},
        {QStringLiteral("station"), QStringLiteral("Station address, 1 to 247 (default 2)."),
         QStringLiteral("n")},
        {QStringLiteral("baud"),
         QStringLiteral("Baud rate (default 19200). On a pseudo-terminal set to another baud "
                        "rate by its client, requests get a few bytes that are no frame."),
         QStringLiteral("b")},
        {QStringLiteral("locked"), QStringLiteral("Echo writes without keeping them.")},
        {QStringLiteral("delay"), QStringLiteral("Answer <ms> milliseconds late."),
         QStringLiteral("ms")},
        {QStringLiteral("drop"),
         QStringLiteral("Leave a share <p> (0 to 1) of requests unanswered."), QStringLiteral("p")},
        {QStringLiteral("corrupt"), QStringLiteral("Break the CRC of a share <p> of replies."),
         QStringLiteral("p")},
        {QStringLiteral("truncate"), QStringLiteral("Cut a share <p> of replies short."),
         QStringLiteral("p")},
        {QStringLiteral("noise"),
         QStringLiteral("Send a share <p> of replies with stray bytes around them."),
         QStringLiteral("p")},
        {QStringLiteral("seed"),
         QStringLiteral("Seed of the fault generator, for repeatable runs."), QStringLiteral("n")},
    });
}

bool readValues(const QCommandLineParser &parser, Options &options, QString &error)
{
    const Reader reader{parser, error};
    long long station = options.station;
    long long baud = options.baud;
    long long delay = 0;
    long long seed = QRandomGenerator::global()->generate();
    const bool ok = reader.whole(QStringLiteral("station"), 1, 247, station) &&
                    reader.whole(QStringLiteral("baud"), 50, 4000000, baud) &&
                    reader.whole(QStringLiteral("delay"), 0, 600000, delay) &&
                    reader.whole(QStringLiteral("seed"), 0, 0xFFFFFFFFLL, seed) &&
                    reader.share(QStringLiteral("drop"), options.faults.drop) &&
                    reader.share(QStringLiteral("corrupt"), options.faults.corrupt) &&
                    reader.share(QStringLiteral("truncate"), options.faults.truncate) &&
                    reader.share(QStringLiteral("noise"), options.faults.noise);
    options.station = static_cast<int>(station);
    options.baud = static_cast<int>(baud);
    options.faults.delayMs = static_cast<int>(delay);
    options.seed = static_cast<quint32>(seed);
    return ok;
}
} // namespace

ParseResult parseOptions(const QStringList &arguments, Options &options, QString &error)
{
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return ParseResult::Error;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        fputs(qPrintable(parser.helpText()), stdout);
        return ParseResult::HelpShown;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error =
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return ParseResult::Error;
    }
    options.device = parser.value(QStringLiteral("device"));
    options.ptyLink = parser.value(QStringLiteral("pty"));
    options.locked = parser.isSet(QStringLiteral("locked"));
    if (options.device.isEmpty() == options.ptyLink.isEmpty()) {
        error = QStringLiteral("give either --device PATH or --pty LINK");
        return ParseResult::Error;
    }
    return readValues(parser, options, error) ? ParseResult::Run : ParseResult::Error;
}

} // namespace sim
