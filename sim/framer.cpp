#include "sim/framer.h"

#include "modbus/frame.h"

#include <cstdint>

namespace sim {

namespace {
constexpr int kMaxFrame = 256; // the longest RTU frame

int expectedLength(const QByteArray &pending)
{
    if (pending.size() < 2)
        return 0;
    const auto function = static_cast<std::uint8_t>(pending[1]);
    if (function == modbus::kReadHolding || function == modbus::kWriteSingle)
        return modbus::kFrameLength;
    return 0;
}
} // namespace

QList<QByteArray> Framer::feed(const QByteArray &bytes)
{
    QList<QByteArray> frames;
    m_pending.append(bytes);
    while (!m_lost) {
        const int length = expectedLength(m_pending);
        if (length == 0 || m_pending.size() < length)
            break;
        const QByteArray frame = m_pending.left(length);
        if (!modbus::HasValidCrc(frame)) {
            m_lost = true;
            break;
        }
        m_pending.remove(0, length);
        frames.append(frame);
    }
    // A line that never falls silent must not grow the buffer without end.
    if (m_pending.size() > kMaxFrame)
        frames.append(silence());
    return frames;
}

QByteArray Framer::silence()
{
    m_lost = false;
    QByteArray frame;
    frame.swap(m_pending);
    return frame;
}

int Framer::silenceMs(int baud)
{
    constexpr int kBitsTimesThousand = 35 * 11 * 100; // 3.5 characters of 11 bits, in ms
    if (baud <= 0)
        return 2;
    return qMax(2, (kBitsTimesThousand + baud - 1) / baud);
}

} // namespace sim
