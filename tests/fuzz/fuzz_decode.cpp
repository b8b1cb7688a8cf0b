// DoData on any reply, with any display mode, channel base and quantity.
// Input: mode (2 bytes, little-endian), base (2 bytes), quantity (1 byte), reply.
// FUZZ_CHECK comes from fuzz_support.h, which the build includes ahead of this file.

#include "device/decode.h"

#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 5)
        return 0;
    const int mode = std::int16_t(data[0] | data[1] << 8);
    const QByteArray reply(reinterpret_cast<const char *>(data + 5), qsizetype(size - 5));
    const auto shown = decode::DoData(reply, mode, std::int16_t(data[2] | data[3] << 8), data[4]);
    FUZZ_CHECK(shown.hasReplyText == (reply.size() >= 6) && shown.boxes.size() <= data[4]);
    int previous = -1; // only boxes that exist, each once, in order
    for (const decode::BoxText &box : shown.boxes)
        FUZZ_CHECK(box.index > std::exchange(previous, box.index) &&
                   box.index < (mode == 1 ? 8 : 10));
    return 0;
}
