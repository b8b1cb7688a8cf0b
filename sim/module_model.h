#pragma once
// The module as seen from the serial line: its holding registers and the
// reply it gives to one complete request frame. No port, no clock of its own.

#include "device/register_map.h"
#include "sim/drift.h"

#include <QByteArray>
#include <QStringList>
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

// What the module's analogue side gets wrong, for rehearsing a calibration.
struct Analog {
    // The module reads input k as its current times inputGain[k].
    std::array<double, kChannelCount> inputGain{1, 1, 1, 1};
    // Output k carries its setpoint times outputGain[k]: only a meter sees it.
    std::array<double, kChannelCount> outputGain{1, 1, 1, 1};
    // Hundredths of a mA held on input k, as a calibrator would; -1: drifting.
    std::array<int, kChannelCount> heldInput{-1, -1, -1, -1};
    // mA the module adds to what input k carries, before its gain: a zero error.
    std::array<double, kChannelCount> inputOffset{0, 0, 0, 0};
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
    void setAnalog(const Analog &analog) { m_analog = analog; }
    // A calibrator's new current on channel 0..3, in hundredths of a mA.
    void holdInput(int channel, int hundredths) { m_analog.heldInput.at(channel) = hundredths; }
    // What a meter on each output with a gain error shows, e.g. "output 1 on the meter: 11.88 mA".
    // An output's register holds what the module means to carry; its coefficient
    // corrects the current itself, which only a meter sees.
    QStringList meterNotes(qint64 elapsedMs) const;
    int station() const { return m_station; }

private:
    std::optional<QByteArray> readHolding(const QByteArray &frame, qint64 elapsedMs) const;
    std::optional<QByteArray> writeSingle(const QByteArray &frame);
    QByteArray exceptionReply(std::uint8_t function, Exception code) const;

    int m_station;
    bool m_locked;
    std::array<std::uint16_t, regmap::kRegisterCount> m_registers{};
    Analog m_analog;
};

} // namespace sim
