// DoData on any reply, with any display mode, channel base and quantity.
// Input: mode (2 bytes, little-endian), base (2 bytes), quantity (1 byte), reply.

#include "device/decode.h"
#include "device/register_map.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>

namespace {
constexpr std::size_t kHeader = 5;
constexpr int kMinReply = 6;

std::int16_t word(const std::uint8_t *data)
{
    return static_cast<std::int16_t>(data[0] | data[1] << 8);
}

// How many values reach a box: the boxes are few, the quantity may be larger.
int expectedBoxes(int mode, int base, int maxLength)
{
    if (mode == 1)
        return std::min(maxLength, regmap::kCurrentInputBoxes);
    if (mode != 2)
        return 0;
    const int first = std::max(base, 0);
    const int last = std::min(base + maxLength, regmap::kParameterCount);
    return std::max(last - first, 0);
}

void checkBoxes(const decode::Shown &shown, int mode, int base, int maxLength)
{
    fuzz::check(static_cast<int>(shown.boxes.size()) == expectedBoxes(mode, base, maxLength),
                "number of boxes written");
    const auto target = mode == 1 ? decode::Target::CurrentInput : decode::Target::Channel;
    const int boxes = mode == 1 ? regmap::kCurrentInputBoxes : regmap::kParameterCount;
    int previous = -1;
    for (const decode::BoxText &box : shown.boxes) {
        fuzz::check(box.target == target, "box of the other kind");
        fuzz::check(box.index >= 0 && box.index < boxes, "box index out of range");
        fuzz::check(box.index > previous, "boxes not written in order");
        fuzz::check(!box.text.isEmpty(), "empty box text");
        previous = box.index;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < kHeader)
        return 0;
    const int mode = word(data);
    const int base = word(data + 2);
    const int maxLength = data[4];
    const QByteArray reply = fuzz::bytes(data + kHeader, size - kHeader);

    const decode::Shown shown = decode::DoData(reply, mode, base, maxLength);
    if (reply.size() < kMinReply) {
        fuzz::check(!shown.hasReplyText && shown.boxes.empty(), "short reply shown");
        return 0;
    }
    fuzz::check(shown.hasReplyText, "reply text missing");
    fuzz::check(shown.replyText.size() == 3 * reply.size(), "reply text length");
    checkBoxes(shown, mode, base, maxLength);
    return 0;
}
