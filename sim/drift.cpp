#include "sim/drift.h"

#include "device/register_map.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr double kCentre = (kMinCurrent + kMaxCurrent) / 2.0;
// Two slow waves per channel; their amplitudes together stay clear of the limits.
constexpr double kSlowAmplitude = 500.0;
constexpr double kFastAmplitude = 250.0;

double wave(double amplitude, double periodMs, double phase, qint64 elapsedMs)
{
    return amplitude * std::sin(kTwoPi * static_cast<double>(elapsedMs) / periodMs + phase);
}
} // namespace

int inputCurrent(int channel, qint64 elapsedMs)
{
    // Periods differ per channel so that no two channels move together.
    const double slowPeriod = 120000.0 + 23000.0 * channel;
    const double fastPeriod = 40000.0 + 9100.0 * channel;
    const double value = kCentre + wave(kSlowAmplitude, slowPeriod, 1.3 * channel, elapsedMs) +
                         wave(kFastAmplitude, fastPeriod, 0.7 + 2.1 * channel, elapsedMs);
    return std::clamp(static_cast<int>(std::lround(value)), kMinCurrent, kMaxCurrent);
}

int scaled(int value, int coefficient)
{
    const long long product = static_cast<long long>(value) * coefficient;
    const long long rounded = (product + regmap::kCoefUnity / 2) / regmap::kCoefUnity;
    return static_cast<int>(std::clamp(rounded, 0LL, 65535LL));
}

} // namespace sim
