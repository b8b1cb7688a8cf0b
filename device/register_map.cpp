#include "device/register_map.h"

#include <cstdlib>

namespace regmap {

const std::array<Register, kRegisterCount> kRegisters = {{
    {0, "current input 1", Shown::Hundredths, false},
    {1, "current input 2", Shown::Hundredths, false},
    {2, "current input 3", Shown::Hundredths, false},
    {3, "current input 4", Shown::Hundredths, false},
    {4, "current output 1", Shown::Whole, false},
    {5, "current output 2", Shown::Whole, false},
    {6, "current output 3", Shown::Whole, false},
    {7, "current output 4", Shown::Whole, false},
    {8, "baud rate", Shown::Whole, true},
    {9, "station address", Shown::Whole, true},
    {10, "coefficient of current input 1", Shown::Whole, true},
    {11, "coefficient of current input 2", Shown::Whole, true},
    {12, "coefficient of current input 3", Shown::Whole, true},
    {13, "coefficient of current input 4", Shown::Whole, true},
    {14, "coefficient of current output 1", Shown::Whole, true},
    {15, "coefficient of current output 2", Shown::Whole, true},
    {16, "coefficient of current output 3", Shown::Whole, true},
    {17, "coefficient of current output 4", Shown::Whole, true},
}};

int signedValue(std::uint16_t raw)
{
    if (raw == 65535)
        return 0;
    return raw > 40000 ? raw - 65536 : raw;
}

QString hundredthsText(int value)
{
    // Widened first: the magnitude of the lowest int does not fit an int.
    const long long magnitude = std::llabs(static_cast<long long>(value));
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(magnitude / 100) + QLatin1Char('.') +
           QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString wholeText(long long value)
{
    return QString::number(value);
}

} // namespace regmap
