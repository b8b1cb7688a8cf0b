#include "device/live_read.h"

#include "modbus/frame.h"

#include <cstdlib>

namespace device {

bool isLiveRead(const ReadOutcome &outcome)
{
    return outcome.displayMode == 1;
}

LiveRead liveReadOf(const ReadOutcome &outcome, const QDateTime &at)
{
    LiveRead read;
    read.at = at;
    read.wellFormed = outcome.wellFormed;
    // The bytes themselves, also when too short to be shown: a short or
    // exception reply is what a technician looks for in a record.
    read.reply = modbus::ShowHex(outcome.reply).trimmed();
    for (const decode::BoxText &box : outcome.shown.boxes) {
        if (box.target == decode::Target::CurrentInput && box.index >= 0 &&
            box.index < kLiveChannels) {
            read.texts[static_cast<std::size_t>(box.index)] = box.text;
            read.wrote = true;
        }
    }
    return read;
}

QString isoTime(const QDateTime &at)
{
    // Qt's ISO form leaves the offset out for local time and writes Z for UTC.
    const int offset = at.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QStringList csvFields(const LiveRead &read)
{
    QStringList fields{isoTime(read.at)};
    for (const QString &text : read.texts)
        fields << text;
    fields << (read.wellFormed ? QStringLiteral("1") : QStringLiteral("0")) << read.reply;
    return fields;
}

} // namespace device
