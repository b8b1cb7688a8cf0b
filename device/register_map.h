#pragma once
// The module's holding registers as this tool reads, shows and writes them.
// The window, the commands and the simulator all take them from here.

#include <QString>
#include <array>
#include <cstdint>

namespace regmap {

enum class Shown { Hundredths, Whole };

struct Register {
    int address;
    const char *meaning;
    Shown shown;
    bool writable;
};

constexpr int kRegisterCount = 18;
constexpr int kFirstInput = 0;  // current inputs 1..4, hundredths of a mA
constexpr int kFirstOutput = 4; // current outputs 1..4
constexpr int kLiveCount = 8;   // inputs and outputs read by one status query
constexpr int kBaudRate = 8;
constexpr int kStation = 9;
constexpr int kFirstInputCoef = 10;
constexpr int kFirstOutputCoef = 14;
constexpr int kCoefCount = 8;
constexpr int kParameterCount = 10; // txtChannel(0..9) = registers 8..17
constexpr int kCurrentInputBoxes = 8;
constexpr int kCoefUnity = 10000; // coefficient that stands for a factor of 1

constexpr int parameterRegister(int i)
{
    return i + kBaudRate;
}

extern const std::array<Register, kRegisterCount> kRegisters;

// Raw values above 40000 are negative; 65535 is shown as 0.
int signedValue(std::uint16_t raw);

// value / 100 with exactly two decimals ("-0.02", "400.00"), integer arithmetic.
QString hundredthsText(int value);

// Plain decimal text with a minus sign when negative.
QString wholeText(long long value);

} // namespace regmap
