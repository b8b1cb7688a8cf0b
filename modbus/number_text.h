#pragma once
// The one reader of numbers typed by the operator. A number text is, after
// optional blanks, an optional sign, digits with an optional point and
// fraction (or a point and fraction alone), and an optional exponent.
// No separators, no hexadecimal, no locale: the point is the decimal mark.

#include <QString>
#include <optional>

namespace numtext {

std::optional<double> parse(const QString &text);

// Fraction dropped (rounded down), as the read commands take numbers.
std::optional<double> floorOf(const QString &text);

// Rounded to the nearest whole number, halves to the even neighbour.
std::optional<double> roundOf(const QString &text);

// The whole number in [min, max], or nothing when the value lies outside.
std::optional<int> inRange(std::optional<double> value, int min, int max);

// Shorthands for the conversions the commands make.
inline std::optional<int> floorByte(const QString &text, int min = 0)
{
    return inRange(floorOf(text), min, 255);
}
inline std::optional<int> roundByte(const QString &text)
{
    return inRange(roundOf(text), 0, 255);
}

} // namespace numtext
