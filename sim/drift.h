#pragma once
// The current that each simulated input channel sees, as a pure function of
// the time since start, so that a run can be replayed exactly.

#include <QtGlobal>

namespace sim {

constexpr int kMinCurrent = 400;  // 4 mA in hundredths
constexpr int kMaxCurrent = 2000; // 20 mA in hundredths
constexpr int kChannelCount = 4;

// Hundredths of a milliampere on channel 0..3, always within 4..20 mA.
int inputCurrent(int channel, qint64 elapsedMs);

// value * coefficient / 10000, rounded, kept inside one 16-bit register.
int scaled(int value, int coefficient);

} // namespace sim
