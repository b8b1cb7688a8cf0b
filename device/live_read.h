#pragma once
// One read of the live values as the trend and a recording keep it: when it
// came, the eight texts the boxes were given, and whether the reply was a
// well-formed answer. Also the CSV row a recording writes for it.

#include "device/commands.h"

#include <QDateTime>
#include <QStringList>
#include <array>

namespace device {

constexpr int kLiveChannels = 8;

struct LiveRead {
    QDateTime at;                             // local time, taken once per read
    bool wrote = false;                       // false: a gap, no box was written
    bool wellFormed = false;                  // station, function, byte count and CRC
    std::array<QString, kLiveChannels> texts; // as the boxes show them; empty when not written
    QString reply;                            // the reply in hex, as txtState shows it, trimmed
};

// Whether outcome is a read of the live values (the status query or a cycle tick).
bool isLiveRead(const ReadOutcome &outcome);
LiveRead liveReadOf(const ReadOutcome &outcome, const QDateTime &at);

inline const QString kCsvHeader = QStringLiteral(
    "time,input1,input2,input3,input4,output1,output2,output3,output4,reply_ok,reply");
// ISO 8601 local time with milliseconds and the UTC offset: 2026-12-07T14:03:05.123+08:00.
QString isoTime(const QDateTime &at);
QStringList csvFields(const LiveRead &read);

} // namespace device
