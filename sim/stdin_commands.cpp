#include "sim/stdin_commands.h"

#include "sim/module_model.h"

#include <QSocketNotifier>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace sim {

std::optional<HeldCurrent> parseCurrentCommand(const QString &line)
{
    constexpr double kMaxMa = 25.0;
    const QStringList words = line.simplified().split(QLatin1Char(' '));
    bool channelOk = false;
    bool valueOk = false;
    const int channel = words.size() == 3 ? words[1].toInt(&channelOk) : 0;
    const double mA = words.size() == 3 ? words[2].toDouble(&valueOk) : 0;
    if (words[0] != QStringLiteral("current") || !channelOk || !valueOk || channel < 1 ||
        channel > kChannelCount || !(mA >= 0 && mA <= kMaxMa))
        return std::nullopt;
    return HeldCurrent{channel - 1, int(std::lround(mA * 100))};
}

StdinCommands::StdinCommands(ModuleModel &model, QObject *parent)
    : QObject(parent), m_model(model),
      m_notifier(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
{
    // A job in the background that reads its terminal is stopped by the shell.
    if (isatty(STDIN_FILENO) && tcgetpgrp(STDIN_FILENO) != getpgrp())
        m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &StdinCommands::readLines);
}

void StdinCommands::readLines()
{
    char buffer[256];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) { // closed: nothing more will come
        m_notifier->setEnabled(false);
        return;
    }
    m_pending.append(buffer, got);
    for (qsizetype end; (end = m_pending.indexOf('\n')) >= 0; m_pending.remove(0, end + 1)) {
        const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
        const std::optional<HeldCurrent> held = parseCurrentCommand(line);
        if (held) {
            m_model.holdInput(held->channel, held->hundredths);
            printf("input %d now held at %.2f mA\n", held->channel + 1, held->hundredths / 100.0);
        } else if (!line.isEmpty()) {
            printf("not understood: \"%s\" (want: current CH MA)\n", qPrintable(line));
        }
        fflush(stdout);
    }
}

} // namespace sim
