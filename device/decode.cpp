#include "device/decode.h"

#include "device/register_map.h"
#include "modbus/frame.h"

#include <cstdint>

namespace decode {

namespace {
constexpr int kMinReply = 6;
constexpr int kFirstValue = 3;

QString inputBoxText(int k, int value)
{
    return k < 4 ? regmap::hundredthsText(value) : regmap::wholeText(value);
}

void place(Shown &shown, int displayMode, int channelBase, int k, int value)
{
    if (displayMode == 1) {
        if (k < regmap::kCurrentInputBoxes)
            shown.boxes.push_back({Target::CurrentInput, k, inputBoxText(k, value)});
        return;
    }
    const int box = channelBase + k;
    if (box >= 0 && box < regmap::kParameterCount)
        shown.boxes.push_back({Target::Channel, box, regmap::wholeText(value)});
}
} // namespace

Shown DoData(const QByteArray &inx, int displayMode, int channelBase, int maxLength)
{
    Shown shown;
    if (inx.size() < kMinReply)
        return shown;
    shown.hasReplyText = true;
    shown.replyText = modbus::ShowHex(inx);
    if (displayMode != 1 && displayMode != 2)
        return shown;

    // A position past the end of a short reply keeps the byte of the previous value.
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    const int size = static_cast<int>(inx.size());
    for (int k = 0; k < maxLength; ++k) {
        const int i = kFirstValue + 2 * k;
        if (i < size)
            high = static_cast<std::uint8_t>(inx[i]);
        if (i + 1 < size)
            low = static_cast<std::uint8_t>(inx[i + 1]);
        const int value = regmap::signedValue(static_cast<std::uint16_t>(high * 256 + low));
        place(shown, displayMode, channelBase, k, value);
    }
    return shown;
}

} // namespace decode
