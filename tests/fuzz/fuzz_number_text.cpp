// The number-text reader on any text, read as UTF-8 and as UTF-16.

#include "device/number_text.h"
#include "tests/fuzz/fuzz_support.h"

#include <QString>
#include <cmath>

namespace {
void checkByte(std::optional<int> byte, int min, const char *what)
{
    if (byte)
        fuzz::check(*byte >= min && *byte <= 255, what);
}

void exercise(const QString &text)
{
    const std::optional<double> value = numtext::parse(text);
    const std::optional<double> floor = numtext::floorOf(text);
    const std::optional<double> round = numtext::roundOf(text);
    fuzz::check(value.has_value() == floor.has_value() && value.has_value() == round.has_value(),
                "conversions disagree on what is a number");
    if (value) {
        fuzz::check(!std::isnan(*value), "number text gave NaN");
        fuzz::check(*floor == std::floor(*value), "floor differs");
        fuzz::check(std::isinf(*value) || std::fabs(*round - *value) <= 0.5, "round too far");
    }
    checkByte(numtext::floorByte(text), 0, "floorByte out of range");
    checkByte(numtext::floorByte(text, 1), 1, "floorByte(min 1) out of range");
    checkByte(numtext::roundByte(text), 0, "roundByte out of range");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    exercise(QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    // Any byte pairs, lone surrogates included, as a text box could hold them.
    QString wide(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        wide[static_cast<qsizetype>(i / 2)] =
            QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    exercise(wide);
    return 0;
}
