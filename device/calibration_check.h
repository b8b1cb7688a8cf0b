#pragma once
// A check at several points across the span, as a calibration technician does
// it, and the gain that best fits what it found. Currents are in mA; errors are
// judged in % of the 16 mA span of a 4-20 mA channel.

#include "device/calibration.h"

#include <QString>
#include <optional>
#include <vector>

namespace calibration {

constexpr double kSpan = 16.0;
constexpr double kMaxPoint = 25.0; // what a 4-20 mA channel can be driven to
constexpr int kMaxPoints = 20;
constexpr double kMaxTolerance = 10.0; // % of span

// The reads' values in order when every read brought one, and there was a read.
std::optional<std::vector<double>> allValuesOf(const std::vector<Reading> &reads);

// "4, 8, 12, 16, 20": at least two different currents from 0 to kMaxPoint.
std::optional<std::vector<double>> parsePoints(const QString &text, QString *error);
// A share of the span in %, above 0 and at most kMaxTolerance.
std::optional<double> parseTolerance(const QString &text, QString *error);

struct PointResult {
    double reference = 0; // what was applied (input) or what the module carries (output)
    Stats stats;          // of the readings (input) or of the module's reads (output)
    double deviation = 0; // sample standard deviation of the same reads
    double reading = 0;   // the mean (input) or the meter (output)
    double error() const { return reading - reference; }
    double errorPercent() const { return error() / kSpan * 100; }
};

// The point's reads, or why they are refused: a failed read, none, or a spread
// over kMaxSpreadShare of the mean.
struct Taken {
    std::optional<PointResult> point;
    QString refusal;
};
Taken takeInputPoint(double reference, const std::vector<Reading> &reads);
Taken takeOutputPoint(const std::vector<Reading> &moduleReads, const QString &meter);

bool passes(const PointResult &point, double tolerance);
bool passes(const std::vector<PointResult> &points, double tolerance);

// The gain through zero that best fits the points, by least squares, and what
// it leaves: a straight line's offset, the points' distance from that line,
// and the largest error expected after the write.
struct Fit {
    QString refusal; // empty: newCoefficient may be written
    int oldCoefficient = 0;
    int newCoefficient = 0;
    double exact = 0;        // old x the fitted factor, unrounded
    double offset = 0;       // mA the adjusted channel reads at 0 mA
    double nonLinearity = 0; // mA, the largest distance from the best straight line
    double leftError = 0;    // mA, the largest error expected after the write
    bool ok() const { return refusal.isEmpty(); }
    bool leftBeyond(double tolerance) const;
};
Fit fitGain(int oldCoefficient, const std::vector<PointResult> &points);

// "-0.031 mA (-0.19 % of span)"
QString spanText(double mA);
QString mAText(double mA);

} // namespace calibration
