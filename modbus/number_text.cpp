#include "modbus/number_text.h"

#include "modbus/c_number.h"

#include <QRegularExpression>
#include <cmath>

namespace numtext {

std::optional<double> parse(const QString &text)
{
    // Anchored at the very end: "$" alone would also let a trailing line break through.
    static const QRegularExpression kNumber(QRegularExpression::anchoredPattern(QStringLiteral(
        "[ \\t]*([+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)[ \\t]*")));
    const QRegularExpressionMatch match = kNumber.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    // The application sets the user's locale; the "C" one keeps the point the
    // decimal mark.
    const double value = strtodC(match.captured(1).toLatin1().constData());
    // Too large for a double is too large for any number the operator means.
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> floorOf(const QString &text)
{
    const auto value = parse(text);
    if (!value)
        return std::nullopt;
    return std::floor(*value);
}

std::optional<double> roundOf(const QString &text)
{
    const auto value = parse(text);
    if (!value)
        return std::nullopt;
    // The default floating-point rounding mode sends halves to the even neighbour.
    return std::nearbyint(*value);
}

std::optional<int> inRange(std::optional<double> value, int min, int max)
{
    if (!value || !(*value >= min && *value <= max))
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace numtext
