#include "sim/options.h"

#include <QCommandLineParser>
#include <QRandomGenerator>
#include <cmath>
#include <type_traits>

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

    // Repeatable "CH:VALUE" pairs, CH from 1 to 4, VALUE from low to high.
    template <typename T>
    bool perChannel(const QString &name, double low, double high, std::array<T, 4> &values,
                    double unit = 1.0) const
    {
        for (const QString &given : parser.values(name)) {
            const QStringList parts = given.split(QLatin1Char(':'));
            bool channelOk = false;
            bool valueOk = false;
            const int channel = parts.size() == 2 ? parts[0].toInt(&channelOk) : 0;
            const double v = parts.size() == 2 ? parts[1].toDouble(&valueOk) : 0.0;
            if (!channelOk || !valueOk || channel < 1 || channel > kChannelCount ||
                !(v >= low && v <= high)) {
                error = QStringLiteral("--%1 wants CH:VALUE, CH from 1 to 4, VALUE from %2 to "
                                       "%3, not \"%4\"")
                            .arg(name)
                            .arg(low)
                            .arg(high)
                            .arg(given);
                return false;
            }
            if constexpr (std::is_integral_v<T>)
                values.at(channel - 1) = static_cast<T>(std::lround(v * unit));
            else
                values.at(channel - 1) = v * unit;
        }
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
        {QStringLiteral("input-gain"),
         QStringLiteral("Read input <ch> (1 to 4) as its current times <f>, e.g. 1:1.012."),
         QStringLiteral("ch:f")},
        {QStringLiteral("output-gain"),
         QStringLiteral("Drive output <ch> at its setpoint times <f>; the log shows what a meter "
                        "reads."),
         QStringLiteral("ch:f")},
        {QStringLiteral("input-offset"),
         QStringLiteral("Read input <ch> with <mA> added before its gain, e.g. 1:0.05."),
         QStringLiteral("ch:mA")},
        {QStringLiteral("input-current"),
         QStringLiteral("Hold input <ch> steady at <mA>, as a calibrator would; a line "
                        "\"current <ch> <mA>\" on standard input changes it while running."),
         QStringLiteral("ch:mA")},
        {QStringLiteral("seed"),
         QStringLiteral("Seed of the fault generator, for repeatable runs."), QStringLiteral("n")},
    });
}

bool readAnalog(const Reader &reader, Analog &analog)
{
    constexpr double kMinGain = 0.5;
    constexpr double kMaxGain = 1.5;
    constexpr double kMaxHeldMa = 25.0;
    constexpr double kMaxOffsetMa = 2.0;
    constexpr double kHundredths = 100.0;
    return reader.perChannel(QStringLiteral("input-gain"), kMinGain, kMaxGain, analog.inputGain) &&
           reader.perChannel(QStringLiteral("output-gain"), kMinGain, kMaxGain,
                             analog.outputGain) &&
           reader.perChannel(QStringLiteral("input-offset"), -kMaxOffsetMa, kMaxOffsetMa,
                             analog.inputOffset) &&
           reader.perChannel(QStringLiteral("input-current"), 0.0, kMaxHeldMa, analog.heldInput,
                             kHundredths);
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
                    reader.share(QStringLiteral("noise"), options.faults.noise) &&
                    readAnalog(reader, options.analog);
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
