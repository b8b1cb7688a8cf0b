#pragma once
// Byte-level tools shared by every exchange: CRC-16/MODBUS and the
// hexadecimal text forms shown to the operator.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace modbus {

constexpr int kFrameLength = 8;
constexpr std::uint8_t kReadHolding = 3;
constexpr std::uint8_t kWriteSingle = 6;

struct CrcPair {
    std::uint8_t low = 0xFF;
    std::uint8_t high = 0xFF;
};

// CRC over elements 0..j inclusive; j below 0 covers nothing (FF FF), j past
// the end is clamped to the last element.
CrcPair Crc16(const QByteArray &cmdstring, int j);

// Two uppercase hexadecimal digits.
QString FormatHex(std::uint8_t bb);

// Reply text: a blank before each byte.
QString ShowHex(const QByteArray &inx);

// Request text: a blank after each byte.
QString RequestText(const QByteArray &frame);

// Six bytes followed by their CRC, low byte first.
QByteArray CloseFrame(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                      std::uint8_t b4, std::uint8_t b5);

// True when the last two bytes are the CRC of the others.
bool HasValidCrc(const QByteArray &frame);

// Appends the CRC of the whole array, low byte first.
QByteArray WithCrc(QByteArray body);

// A well-formed answer to a read request (function 3): the request's station
// and function, a byte count of two per register asked for, that many bytes and a good CRC.
bool IsReadAnswer(const QByteArray &request, const QByteArray &reply);

// A well-formed answer to a write request (function 6) is its exact echo.
bool IsWriteEcho(const QByteArray &request, const QByteArray &reply);

} // namespace modbus
