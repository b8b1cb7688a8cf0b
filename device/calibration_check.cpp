#include "device/calibration_check.h"

#include "modbus/number_text.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <set>

namespace calibration {

namespace {
constexpr double kSlack = 1e-9; // decimal fractions miss a bound by a last bit

QString tr(const char *text)
{
    return QCoreApplication::translate("calibration", text);
}

double deviationOf(const std::vector<double> &values, double mean)
{
    if (values.size() < 2)
        return 0;
    double sum = 0;
    for (double v : values)
        sum += (v - mean) * (v - mean);
    return std::sqrt(sum / double(values.size() - 1));
}

// The reads' statistics, or why they cannot be used.
QString readsRefusal(const std::vector<Reading> &reads, PointResult &point)
{
    const auto values = allValuesOf(reads);
    if (!values)
        return reads.empty() ? tr("there are no readings")
                             : tr("a read failed: the module did not answer as it should");
    point.stats = statsOf(*values);
    point.deviation = deviationOf(*values, point.stats.mean);
    if (point.stats.spread > kMaxSpreadShare * std::fabs(point.stats.mean) * (1 + kSlack) + kSlack)
        return tr("the reads spread over %1, more than 0.5 % of their mean %2: the "
                  "current is not steady")
            .arg(mAText(point.stats.spread), mAText(point.stats.mean));
    return {};
}

} // namespace

std::optional<std::vector<double>> allValuesOf(const std::vector<Reading> &reads)
{
    std::vector<double> values;
    for (const Reading &r : reads)
        if (r)
            values.push_back(*r);
    if (values.size() != reads.size() || values.empty())
        return std::nullopt;
    return values;
}

QString mAText(double mA)
{
    return QString::number(std::fabs(mA) < 0.0005 ? 0.0 : mA, 'f', 3) + QStringLiteral(" mA");
}

QString spanText(double mA)
{
    const double percent = mA / kSpan * 100;
    return tr("%1 (%2 % of span)")
        .arg(mAText(mA))
        .arg(std::fabs(percent) < 0.005 ? 0.0 : percent, 0, 'f', 2);
}

std::optional<std::vector<double>> parsePoints(const QString &text, QString *error)
{
    std::vector<double> points;
    const QStringList parts =
        text.split(QRegularExpression(QStringLiteral("[,，;\\s]+")), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const std::optional<double> value = numtext::parse(part);
        if (!value) {
            *error = tr("points: “%1” is not a number").arg(part);
            return std::nullopt;
        }
        if (*value < 0 || *value > kMaxPoint) {
            *error = tr("points: %1 mA lies outside 0 to 25 mA").arg(part);
            return std::nullopt;
        }
        points.push_back(*value);
    }
    if (points.size() > std::size_t(kMaxPoints)) {
        *error = tr("points: at most %1 points").arg(kMaxPoints);
        return std::nullopt;
    }
    if (std::set<double>(points.begin(), points.end()).size() < 2) {
        *error = tr("points: at least two different currents are needed");
        return std::nullopt;
    }
    return points;
}

std::optional<double> parseTolerance(const QString &text, QString *error)
{
    const std::optional<double> value = numtext::parse(text);
    if (!value || !(*value > 0) || *value > kMaxTolerance) {
        *error =
            tr("tolerance: “%1” is not a share of the span above 0 and at most 10 %").arg(text);
        return std::nullopt;
    }
    return value;
}

Taken takeInputPoint(double reference, const std::vector<Reading> &reads)
{
    Taken taken;
    PointResult point;
    point.reference = reference;
    taken.refusal = readsRefusal(reads, point);
    point.reading = point.stats.mean;
    if (taken.refusal.isEmpty())
        taken.point = point;
    return taken;
}

Taken takeOutputPoint(const std::vector<Reading> &moduleReads, const QString &meter)
{
    Taken taken;
    const std::optional<double> seen = numtext::parse(meter);
    if (!seen || *seen < 0 || *seen > kMaxPoint) {
        taken.refusal = tr("meter: “%1” is not a current from 0 to 25 mA").arg(meter);
        return taken;
    }
    PointResult point;
    taken.refusal = readsRefusal(moduleReads, point);
    point.reference = point.stats.mean;
    point.reading = *seen;
    if (taken.refusal.isEmpty())
        taken.point = point;
    return taken;
}

bool passes(const PointResult &point, double tolerance)
{
    return std::fabs(point.errorPercent()) <= tolerance * (1 + kSlack);
}

bool passes(const std::vector<PointResult> &points, double tolerance)
{
    return !points.empty() && std::all_of(points.begin(), points.end(),
                                          [&](const auto &p) { return passes(p, tolerance); });
}

bool Fit::leftBeyond(double tolerance) const
{
    return leftError / kSpan * 100 > tolerance * (1 + kSlack);
}

Fit fitGain(int oldCoefficient, const std::vector<PointResult> &points)
{
    Fit fit;
    fit.oldCoefficient = oldCoefficient;
    double refReading = 0;
    double readingSquared = 0;
    for (const PointResult &p : points) {
        refReading += p.reference * p.reading;
        readingSquared += p.reading * p.reading;
    }
    if (!(readingSquared > 0) || !(refReading > 0)) {
        fit.refusal = tr("no point reads above zero, so no gain fits");
        return fit;
    }
    fit.exact = oldCoefficient * refReading / readingSquared;
    const double rounded = std::nearbyint(fit.exact);
    if (!(rounded >= kMinCoefficient && rounded <= kMaxCoefficient)) {
        fit.refusal = tr("the new coefficient %1 would lie outside %2 to %3")
                          .arg(coefficientText(fit.exact))
                          .arg(kMinCoefficient)
                          .arg(kMaxCoefficient);
        return fit;
    }
    fit.newCoefficient = int(rounded);
    // The readings scale with the coefficient: what they will be after the write.
    const double factor = double(fit.newCoefficient) / oldCoefficient;
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const PointResult &p : points) {
        const double y = p.reading * factor;
        n += 1;
        sx += p.reference;
        sy += y;
        sxx += p.reference * p.reference;
        sxy += p.reference * y;
        fit.leftError = std::max(fit.leftError, std::fabs(y - p.reference));
    }
    const double denominator = n * sxx - sx * sx;
    const double slope = denominator > 0 ? (n * sxy - sx * sy) / denominator : 1;
    fit.offset = (sy - slope * sx) / n;
    for (const PointResult &p : points)
        fit.nonLinearity = std::max(
            fit.nonLinearity, std::fabs(p.reading * factor - (fit.offset + slope * p.reference)));
    return fit;
}

} // namespace calibration
