#pragma once
// The arithmetic of calibrating one coefficient against a known current: the
// readings' mean and spread, the proposed coefficient or why there is none,
// and the check after the write. Currents are in mA throughout.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace calibration {

constexpr int kMinCoefficient = 5000; // the range the window's note gives
constexpr int kMaxCoefficient = 15000;
constexpr double kMaxSpreadShare = 0.005; // of the mean
constexpr double kMaxErrorShare = 0.001;  // of the reference

// Spread is the largest reading minus the smallest: one stray reading is
// enough to make the mean untrustworthy, and the bound is easy to check by eye.
struct Stats {
    int count = 0;
    double mean = 0;
    double spread = 0;
};

Stats statsOf(const std::vector<double> &readings);

// One live read as taken: nothing when it failed or gave no value.
using Reading = std::optional<double>;

enum class Refusal {
    None,
    ReadFailed,         // the coefficient or a live value could not be read
    NoValues,           // no readings at all
    ReferenceNotNumber, // the reference text
    ReferenceNotAbove0,
    MeterNotNumber,
    MeterNotAbove0,
    MeanNotAbove0,
    SpreadTooWide, // above kMaxSpreadShare of the mean
    OutOfRange,    // the new coefficient outside kMin..kMaxCoefficient
};

struct Proposal {
    Refusal refusal = Refusal::None;
    Stats stats; // inputs only
    int oldCoefficient = 0;
    int newCoefficient = 0;
    double exact = 0;    // old x ratio unrounded: also when out of range, so the operator sees it
    double expected = 0; // the reading (input) or meter value (output) after the write
    bool ok() const { return refusal == Refusal::None; }
};

// New = round(old x reference / mean), halves to the even neighbour as every
// number the tool rounds. oldCoefficient nothing: its read failed.
Proposal proposeInput(std::optional<int> oldCoefficient, const std::vector<Reading> &readings,
                      const QString &reference);
Proposal proposeOutput(std::optional<int> oldCoefficient, const QString &reference,
                       const QString &meter);

// Why there is no proposal, in the operator's words.
QString reasonText(const Proposal &proposal);

struct Check {
    bool readBack = false; // the register could be read after the write
    bool holds = false;    // it holds the value written
    double error = 0;      // (reading - reference) / reference
    bool withinTolerance = false;
    bool passed() const { return holds && withinTolerance; }
};

Check check(int written, std::optional<int> heldValue, double reading, double reference);

// A proposed coefficient as the operator reads it, however far out of range.
QString coefficientText(double exact);

// "+0.04 %": an error share as the operator reads it.
QString percentText(double share);

// Sentences in a row, empty ones left out: a space after a Latin stop, none after
// a Chinese one, as each language writes them.
QString sentences(const QStringList &parts);

} // namespace calibration
