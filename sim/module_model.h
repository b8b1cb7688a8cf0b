#pragma once
// The module as seen from the serial line: its holding registers and the
// reply it gives to one complete request frame. No port, no clock of its own.

#include "device/register_map.h"

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <cstdint>
#include <optional>

namespace sim {

enum class Exception : std::uint8_t {
    IllegalFunction = 1,
    IllegalAddress = 2,
    IllegalValue = 3,
};

class ModuleModel {
public:
    // locked: writes are answered but not kept, as with CNG and GND not linked.
    // baud: what the baud-rate register holds.
    ModuleModel(int station, bool locked, int baud = 19200);

    // The reply to one request frame, or none (other station, broadcast,
    // bad CRC, malformed). elapsedMs places the live values on their curves.
    std::optional<QByteArray> handleRequest(const QByteArray &frame, qint64 elapsedMs);

    std::uint16_t value(int address, qint64 elapsedMs) const;
    int station() const { return m_station; }

private:
    std::optional<QByteArray> readHolding(const QByteArray &frame, qint64 elapsedMs) const;
    std::optional<QByteArray> writeSingle(const QByteArray &frame);
    QByteArray exceptionReply(std::uint8_t function, Exception code) const;

    int m_station;
    bool m_locked;
    std::array<std::uint16_t, regmap::kRegisterCount> m_registers{};
};

} // namespace sim
