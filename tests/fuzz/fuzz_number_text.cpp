// The number-text reader on any text.
// FUZZ_CHECK comes from fuzz_support.h, which the build includes ahead of this file.

#include "modbus/number_text.h"

#include <cmath>

using namespace numtext;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto value = parse(text), floor = floorOf(text), round = roundOf(text);
    FUZZ_CHECK(value.has_value() == floor.has_value() && value.has_value() == round.has_value());
    FUZZ_CHECK(!value || (std::isfinite(*value) && *floor == std::floor(*value) &&
                          std::fabs(*round - *value) <= 0.5));
    FUZZ_CHECK(roundByte(text).value_or(0) <= 255 && floorByte(text, 1).value_or(1) >= 1);
    return 0;
}
