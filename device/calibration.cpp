#include "device/calibration.h"

#include "modbus/number_text.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace calibration {

namespace {
// Decimal fractions such as 12.012 / 12 - 1 miss 0.001 by a last bit.
constexpr double kSlack = 1e-9;

QString tr(const char *text)
{
    return QCoreApplication::translate("calibration", text);
}

QString mA(double value)
{
    return QString::number(value, 'f', 3);
}

// The parts every proposal shares: the coefficient from the ratio, and the range.
Proposal scale(Proposal proposal, double ratio)
{
    proposal.exact = proposal.oldCoefficient * ratio;
    // Compared before rounding, so a product beyond int is never converted.
    if (!(std::nearbyint(proposal.exact) >= kMinCoefficient &&
          std::nearbyint(proposal.exact) <= kMaxCoefficient)) {
        proposal.refusal = Refusal::OutOfRange;
        return proposal;
    }
    proposal.newCoefficient = static_cast<int>(std::nearbyint(proposal.exact));
    return proposal;
}

Refusal referenceRefusal(const std::optional<double> &value, Refusal notNumber, Refusal notAbove0)
{
    if (!value)
        return notNumber;
    return *value > 0 ? Refusal::None : notAbove0;
}
} // namespace

Stats statsOf(const std::vector<double> &readings)
{
    Stats stats;
    stats.count = static_cast<int>(readings.size());
    if (readings.empty())
        return stats;
    stats.mean = std::accumulate(readings.begin(), readings.end(), 0.0) / stats.count;
    const auto [low, high] = std::minmax_element(readings.begin(), readings.end());
    stats.spread = *high - *low;
    return stats;
}

Proposal proposeInput(std::optional<int> oldCoefficient, const std::vector<Reading> &readings,
                      const QString &reference)
{
    Proposal proposal;
    proposal.oldCoefficient = oldCoefficient.value_or(0);
    std::vector<double> values;
    for (const Reading &reading : readings)
        if (reading)
            values.push_back(*reading);
    proposal.stats = statsOf(values);
    const std::optional<double> wanted = numtext::parse(reference);
    if (!oldCoefficient || values.size() != readings.size())
        proposal.refusal = Refusal::ReadFailed;
    else if (values.empty())
        proposal.refusal = Refusal::NoValues;
    else
        proposal.refusal =
            referenceRefusal(wanted, Refusal::ReferenceNotNumber, Refusal::ReferenceNotAbove0);
    if (!proposal.ok())
        return proposal;
    const Stats &stats = proposal.stats;
    if (!(stats.mean > 0))
        proposal.refusal = Refusal::MeanNotAbove0;
    else if (stats.spread > kMaxSpreadShare * stats.mean * (1 + kSlack))
        proposal.refusal = Refusal::SpreadTooWide;
    if (!proposal.ok())
        return proposal;
    proposal = scale(proposal, *wanted / stats.mean);
    proposal.expected = stats.mean * proposal.newCoefficient / proposal.oldCoefficient;
    return proposal;
}

Proposal proposeOutput(std::optional<int> oldCoefficient, const QString &reference,
                       const QString &meter)
{
    Proposal proposal;
    proposal.oldCoefficient = oldCoefficient.value_or(0);
    const std::optional<double> wanted = numtext::parse(reference);
    const std::optional<double> seen = numtext::parse(meter);
    proposal.refusal = !oldCoefficient ? Refusal::ReadFailed
                                       : referenceRefusal(wanted, Refusal::ReferenceNotNumber,
                                                          Refusal::ReferenceNotAbove0);
    if (proposal.ok())
        proposal.refusal = referenceRefusal(seen, Refusal::MeterNotNumber, Refusal::MeterNotAbove0);
    if (!proposal.ok())
        return proposal;
    proposal = scale(proposal, *wanted / *seen);
    proposal.expected = *seen * proposal.newCoefficient / proposal.oldCoefficient;
    return proposal;
}

QString reasonText(const Proposal &proposal)
{
    switch (proposal.refusal) {
    case Refusal::None: return {};
    case Refusal::ReadFailed: return tr("A read failed: the module did not answer as it should.");
    case Refusal::NoValues: return tr("There are no readings.");
    case Refusal::ReferenceNotNumber: return tr("The reference is not a number.");
    case Refusal::ReferenceNotAbove0: return tr("The reference must be above zero.");
    case Refusal::MeterNotNumber: return tr("The meter reading is not a number.");
    case Refusal::MeterNotAbove0: return tr("The meter reading must be above zero.");
    case Refusal::MeanNotAbove0: return tr("The mean reading must be above zero.");
    case Refusal::SpreadTooWide:
        return tr("The readings spread over %1 mA, more than 0.5 % of their mean %2 mA: "
                  "the current is not steady.")
            .arg(mA(proposal.stats.spread), mA(proposal.stats.mean));
    case Refusal::OutOfRange:
        return tr("The new coefficient %1 would lie outside %2 to %3.")
            .arg(coefficientText(proposal.exact))
            .arg(kMinCoefficient)
            .arg(kMaxCoefficient);
    }
    return {};
}

Check check(int written, std::optional<int> heldValue, double reading, double reference)
{
    Check result;
    result.readBack = heldValue.has_value();
    result.holds = heldValue == written;
    result.error = reference > 0 ? (reading - reference) / reference : 1.0;
    result.withinTolerance = std::fabs(result.error) <= kMaxErrorShare * (1 + kSlack);
    return result;
}

QString coefficientText(double exact)
{
    constexpr double kLongest = 1e15; // digits beyond are noise to the operator
    if (!std::isfinite(exact))
        return tr("beyond any number");
    return std::fabs(exact) < kLongest ? QString::number(exact, 'f', 0)
                                       : QString::number(exact, 'g', 3);
}

QString percentText(double share)
{
    return QStringLiteral("%1%2 %")
        .arg(share < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(std::fabs(share) * 100, 0, 'f', 2);
}

QString sentences(const QStringList &parts)
{
    static const QString fullWidth = QStringLiteral("。！？：；）");
    QString out;
    for (const QString &part : parts) {
        const QString text = part.trimmed();
        if (text.isEmpty())
            continue;
        if (!out.isEmpty() && !fullWidth.contains(out.back()))
            out += QLatin1Char(' ');
        out += text;
    }
    return out;
}

} // namespace calibration
