#include "modbus/frame.h"

namespace modbus {

namespace {
std::uint16_t crcOver(const QByteArray &bytes, int count)
{
    std::uint16_t crc = 0xFFFF;
    for (int i = 0; i < count; ++i) {
        crc ^= static_cast<std::uint8_t>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1U) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001U)
                             : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

CrcPair split(std::uint16_t crc)
{
    return {static_cast<std::uint8_t>(crc & 0xFFU), static_cast<std::uint8_t>(crc >> 8)};
}
} // namespace

CrcPair Crc16(const QByteArray &cmdstring, int j)
{
    // Compared before adding 1 so that a j near the top of int cannot overflow.
    const int size = static_cast<int>(cmdstring.size());
    const int count = j < 0 ? 0 : (j >= size ? size : j + 1);
    return split(crcOver(cmdstring, count));
}

QString FormatHex(std::uint8_t bb)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const char text[2] = {kDigits[bb >> 4], kDigits[bb & 0x0F]};
    return QString::fromLatin1(text, 2);
}

QString ShowHex(const QByteArray &inx)
{
    QString text;
    text.reserve(inx.size() * 3);
    for (char byte : inx) {
        text += QLatin1Char(' ');
        text += FormatHex(static_cast<std::uint8_t>(byte));
    }
    return text;
}

QString RequestText(const QByteArray &frame)
{
    QString text;
    text.reserve(frame.size() * 3);
    for (char byte : frame) {
        text += FormatHex(static_cast<std::uint8_t>(byte));
        text += QLatin1Char(' ');
    }
    return text;
}

QByteArray WithCrc(QByteArray body)
{
    const CrcPair crc = split(crcOver(body, static_cast<int>(body.size())));
    body.append(static_cast<char>(crc.low));
    body.append(static_cast<char>(crc.high));
    return body;
}

QByteArray CloseFrame(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                      std::uint8_t b4, std::uint8_t b5)
{
    QByteArray frame(kFrameLength, '\0');
    const std::uint8_t body[6] = {b0, b1, b2, b3, b4, b5};
    for (int i = 0; i < 6; ++i)
        frame[i] = static_cast<char>(body[i]);
    const CrcPair crc = Crc16(frame, 5);
    frame[6] = static_cast<char>(crc.low);
    frame[7] = static_cast<char>(crc.high);
    return frame;
}

bool HasValidCrc(const QByteArray &frame)
{
    if (frame.size() < 3)
        return false;
    const CrcPair crc = Crc16(frame, static_cast<int>(frame.size()) - 3);
    return static_cast<std::uint8_t>(frame[frame.size() - 2]) == crc.low &&
           static_cast<std::uint8_t>(frame[frame.size() - 1]) == crc.high;
}

bool IsReadAnswer(const QByteArray &request, const QByteArray &reply)
{
    if (request.size() != kFrameLength)
        return false;
    const int quantity =
        static_cast<std::uint8_t>(request[4]) * 256 + static_cast<std::uint8_t>(request[5]);
    return reply.size() == 5 + 2 * quantity && reply[0] == request[0] && reply[1] == request[1] &&
           static_cast<std::uint8_t>(reply[2]) == 2 * quantity && HasValidCrc(reply);
}

bool IsWriteEcho(const QByteArray &request, const QByteArray &reply)
{
    return request.size() == kFrameLength && reply == request;
}

} // namespace modbus
