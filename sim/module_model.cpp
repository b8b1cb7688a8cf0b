#include "sim/module_model.h"

#include "modbus/frame.h"
#include "sim/drift.h"

#include <cmath>

namespace sim {

namespace {
constexpr int kMinFrame = 4; // station, function, two CRC bytes
constexpr int kMaxQuantity = 125;
constexpr std::uint8_t kExceptionFlag = 0x80;

std::uint8_t byteAt(const QByteArray &frame, int i)
{
    return static_cast<std::uint8_t>(frame[i]);
}

int wordAt(const QByteArray &frame, int i)
{
    return byteAt(frame, i) * 256 + byteAt(frame, i + 1);
}
} // namespace

ModuleModel::ModuleModel(int station, bool locked, int baud) : m_station(station), m_locked(locked)
{
    m_registers[regmap::kBaudRate] = static_cast<std::uint16_t>(baud);
    m_registers[regmap::kStation] = static_cast<std::uint16_t>(station);
    for (int i = 0; i < regmap::kCoefCount; ++i)
        m_registers[regmap::kFirstInputCoef + i] = regmap::kCoefUnity;
}

std::uint16_t ModuleModel::value(int address, qint64 elapsedMs) const
{
    if (address < 0 || address >= regmap::kRegisterCount)
        return 0;
    if (address >= regmap::kFirstInput && address < regmap::kFirstOutput) {
        const int channel = address - regmap::kFirstInput;
        const int held = m_analog.heldInput.at(channel);
        const double current = held >= 0 ? held : inputCurrent(channel, elapsedMs);
        constexpr double kHundredths = 100.0;
        const int misread = static_cast<int>(
            std::lround((current + m_analog.inputOffset.at(channel) * kHundredths) *
                        m_analog.inputGain.at(channel)));
        return static_cast<std::uint16_t>(
            scaled(misread, m_registers[regmap::kFirstInputCoef + channel]));
    }
    if (address >= regmap::kFirstOutput && address < regmap::kBaudRate) {
        const int channel = address - regmap::kFirstOutput;
        return value(regmap::kFirstInput + channel, elapsedMs);
    }
    return m_registers[address];
}

QStringList ModuleModel::meterNotes(qint64 elapsedMs) const
{
    QStringList notes;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const double gain = m_analog.outputGain.at(channel);
        if (gain == 1.0)
            continue;
        const double carried = scaled(value(regmap::kFirstOutput + channel, elapsedMs),
                                      m_registers[regmap::kFirstOutputCoef + channel]) *
                               gain;
        notes << QStringLiteral("output %1 on the meter: %2 mA")
                     .arg(channel + 1)
                     .arg(carried / 100.0, 0, 'f', 2);
    }
    return notes;
}

std::optional<QByteArray> ModuleModel::handleRequest(const QByteArray &frame, qint64 elapsedMs)
{
    if (frame.size() < kMinFrame || !modbus::HasValidCrc(frame))
        return std::nullopt;
    const int station = byteAt(frame, 0);
    const bool broadcast = station == 0;
    if (station != m_station && !broadcast)
        return std::nullopt;
    const std::uint8_t function = byteAt(frame, 1);
    std::optional<QByteArray> reply;
    if (function == modbus::kReadHolding)
        reply = readHolding(frame, elapsedMs);
    else if (function == modbus::kWriteSingle)
        reply = writeSingle(frame);
    else
        reply = exceptionReply(function, Exception::IllegalFunction);
    // Broadcasts are carried out but never answered.
    return broadcast ? std::nullopt : reply;
}

std::optional<QByteArray> ModuleModel::readHolding(const QByteArray &frame, qint64 elapsedMs) const
{
    if (frame.size() != modbus::kFrameLength)
        return std::nullopt;
    const int start = wordAt(frame, 2);
    const int quantity = wordAt(frame, 4);
    if (quantity < 1 || quantity > kMaxQuantity)
        return exceptionReply(modbus::kReadHolding, Exception::IllegalValue);
    if (start + quantity > regmap::kRegisterCount)
        return exceptionReply(modbus::kReadHolding, Exception::IllegalAddress);
    QByteArray body;
    body.append(static_cast<char>(m_station));
    body.append(static_cast<char>(modbus::kReadHolding));
    body.append(static_cast<char>(2 * quantity));
    for (int address = start; address < start + quantity; ++address) {
        const std::uint16_t v = value(address, elapsedMs);
        body.append(static_cast<char>(v >> 8));
        body.append(static_cast<char>(v & 0xFF));
    }
    return modbus::WithCrc(body);
}

std::optional<QByteArray> ModuleModel::writeSingle(const QByteArray &frame)
{
    if (frame.size() != modbus::kFrameLength)
        return std::nullopt;
    const int address = wordAt(frame, 2);
    if (address >= regmap::kRegisterCount || !regmap::kRegisters[address].writable)
        return exceptionReply(modbus::kWriteSingle, Exception::IllegalAddress);
    if (!m_locked)
        m_registers[address] = static_cast<std::uint16_t>(wordAt(frame, 4));
    return frame;
}

QByteArray ModuleModel::exceptionReply(std::uint8_t function, Exception code) const
{
    QByteArray body;
    body.append(static_cast<char>(m_station));
    body.append(static_cast<char>(function | kExceptionFlag));
    body.append(static_cast<char>(code));
    return modbus::WithCrc(body);
}

} // namespace sim
