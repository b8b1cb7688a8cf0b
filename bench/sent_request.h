#pragma once

#include <QByteArray>

namespace bench {

// A request as the tool sent it, seen when txtCommand is filled: right after
// the pending input was thrown away and the bytes went out.
struct SentRequest {
    double ms;          // on the rig's monotonic clock
    qint64 timeOfDayMs; // on the simulator's log clock
    QByteArray bytes;
};

} // namespace bench
