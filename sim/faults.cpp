#include "sim/faults.h"

#include "modbus/frame.h"

namespace sim {

namespace {
constexpr int kMaxStray = 3;
}

Faults::Faults(const FaultRates &rates, quint32 seed) : m_rates(rates), m_random(seed) {}

bool Faults::chance(double share)
{
    // Nothing is drawn for a fault that is off, so adding one option does not
    // reshuffle the others.
    return share > 0.0 && m_random.generateDouble() < share;
}

bool Faults::dropRequest()
{
    return chance(m_rates.drop);
}

QByteArray Faults::strayBytes()
{
    QByteArray bytes;
    const int count = 1 + m_random.bounded(kMaxStray);
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>(m_random.bounded(256)));
    return bytes;
}

// Two to four bytes: never enough for a reply, and a CRC that fits is broken.
QByteArray Faults::misheard()
{
    QByteArray bytes;
    const int count = 2 + m_random.bounded(3);
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>(m_random.bounded(256)));
    if (modbus::HasValidCrc(bytes))
        bytes[count - 1] = static_cast<char>(bytes[count - 1] ^ 1);
    return bytes;
}

QByteArray Faults::spoil(QByteArray reply, QStringList &notes)
{
    if (reply.isEmpty())
        return reply;
    if (chance(m_rates.corrupt)) {
        // Changing a CRC byte always breaks the CRC, whatever the body.
        const int flip = 1 + m_random.bounded(255);
        reply[reply.size() - 1] = static_cast<char>(reply[reply.size() - 1] ^ flip);
        notes << QStringLiteral("corrupt");
    }
    if (reply.size() > 1 && chance(m_rates.truncate)) {
        reply.truncate(1 + m_random.bounded(static_cast<int>(reply.size()) - 1));
        notes << QStringLiteral("truncate");
    }
    if (chance(m_rates.noise)) {
        reply = strayBytes() + reply + strayBytes();
        notes << QStringLiteral("noise");
    }
    return reply;
}

} // namespace sim
