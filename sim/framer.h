#pragma once
// Cuts the byte stream of the line into request frames. Function 3 and 6
// requests have a known length and are taken as soon as they are complete;
// anything else ends at the 3.5-character silence, which the caller reports.

#include <QByteArray>
#include <QList>

namespace sim {

class Framer {
public:
    // Frames completed by these bytes, oldest first.
    QList<QByteArray> feed(const QByteArray &bytes);

    // The line has been quiet for 3.5 characters: whatever is pending is one
    // frame (possibly garbage); empty when nothing is pending.
    QByteArray silence();

    bool hasPending() const { return !m_pending.isEmpty(); }

    // The 3.5-character silence at this baud rate, 11 bits a character,
    // rounded up to whole milliseconds.
    static int silenceMs(int baud);

private:
    QByteArray m_pending;
    // After a fixed-length frame with a bad CRC the position in the stream is
    // lost: everything up to the next silence belongs to that frame.
    bool m_lost = false;
};

} // namespace sim
