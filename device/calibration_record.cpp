#include "device/calibration_record.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QRandomGenerator>
#include <cmath>
#include <cstdlib>

namespace calibration {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("calibration", text);
}

QString fixed(double value, int decimals, bool sign = false)
{
    const double shown = std::fabs(value) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : value;
    return (sign && shown >= 0 ? QStringLiteral("+") : QString()) +
           QString::number(shown, 'f', decimals);
}

QString pointsText(const std::vector<double> &points)
{
    QStringList texts;
    for (double p : points)
        texts << QString::number(p);
    return texts.join(QStringLiteral(", ")) + QStringLiteral(" mA");
}

// "2026-12-07 18:15:30 UTC+01:00": the offset, not a zone name that may be ambiguous.
QString dateTimeText(const QDateTime &at)
{
    const int offset = at.offsetFromUtc();
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QStringLiteral(" UTC%1%2:%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
               .arg(std::abs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'));
}

Section parameters(const Record &record)
{
    Section section{tr("Module parameters"), {}, {}};
    section.table.header = {tr("Parameter"), tr("Before"), tr("After")};
    for (int i = 0; i < paramfile::kValueCount; ++i) {
        const auto value = [i](const auto &values) {
            return values ? QString::number(values->at(i)) : tr("not read");
        };
        section.table.rows << QStringList{paramfile::valueKey(i), value(record.before),
                                          value(record.after)};
    }
    return section;
}

Section checkSection(const QString &title, const std::vector<PointResult> &points, double tolerance)
{
    Section section{title, {}, pointTable(points, tolerance)};
    section.fields << qMakePair(
        tr("Result"), points.empty() ? tr("not checked") : resultText(passes(points, tolerance)));
    return section;
}
} // namespace

QString newRecordNumber(const QDateTime &at)
{
    return QStringLiteral("RV4820-%1-%2")
        .arg(at.toString(QStringLiteral("yyyyMMdd-HHmmss")))
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
        .toUpper();
}

QString channelText(bool input, int channel)
{
    return (input ? tr("input %1") : tr("output %1")).arg(channel);
}

QString certificateFileName(const Record &record)
{
    return QStringLiteral("rv4820-cal-station%1-%2%3-%4.pdf")
        .arg(record.station)
        .arg(record.input ? QStringLiteral("input") : QStringLiteral("output"))
        .arg(record.channel)
        .arg(record.at.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

QString resultText(bool passed)
{
    return passed ? tr("pass") : tr("fail");
}

Table pointTable(const std::vector<PointResult> &points, double tolerance)
{
    Table table;
    table.header = {
        tr("Reference (mA)"), tr("Mean (mA)"),         tr("Spread (mA)"), tr("Std. deviation (mA)"),
        tr("Error (mA)"),     tr("Error (% of span)"), tr("Result")};
    for (const PointResult &p : points)
        table.rows << QStringList{fixed(p.reference, 3),           fixed(p.reading, 3),
                                  fixed(p.stats.spread, 3),        fixed(p.deviation, 3),
                                  fixed(p.error(), 3, true),       fixed(p.errorPercent(), 3, true),
                                  resultText(passes(p, tolerance))};
    return table;
}

QString leftText(const Fit &fit)
{
    return tr("A gain cannot fix the offset of %1 or the non-linearity of %2; after the "
              "adjustment the largest error expected is %3.")
        .arg(spanText(fit.offset), spanText(fit.nonLinearity), spanText(fit.leftError));
}

Document certificate(const Record &record)
{
    Document doc;
    doc.title = tr("Calibration certificate");
    Section head{tr("Record"), {}, {}};
    head.fields << qMakePair(tr("Record number"), record.number)
                << qMakePair(tr("Date and time"), dateTimeText(record.at))
                << qMakePair(tr("Technician"), record.technician)
                << qMakePair(tr("Reference instrument"), record.instrument.model)
                << qMakePair(tr("Instrument serial number"), record.instrument.serial)
                << qMakePair(tr("Instrument calibration due"), record.instrument.due)
                << qMakePair(tr("Port"), record.port)
                << qMakePair(tr("Station"), QString::number(record.station))
                << qMakePair(tr("Line settings"), record.settings)
                << qMakePair(tr("Channel"), channelText(record.input, record.channel))
                << qMakePair(tr("Tolerance"), tr("%1 % of span (16 mA)").arg(record.tolerance))
                << qMakePair(tr("Points"), pointsText(record.points))
                << qMakePair(tr("Reads per point"), QString::number(record.reads));
    doc.sections << head << parameters(record);
    doc.sections << checkSection(tr("As found"), record.asFound, record.tolerance);
    Section adjust{tr("Adjustment"), {}, {}};
    if (record.fit) {
        adjust.fields
            << qMakePair(
                   tr("Coefficient"),
                   tr("%1 → %2").arg(record.fit->oldCoefficient).arg(record.fit->newCoefficient))
            << qMakePair(tr("Not correctable by the gain"), leftText(*record.fit));
    } else {
        adjust.fields << qMakePair(tr("Coefficient"), tr("not adjusted"));
    }
    doc.sections << adjust;
    doc.sections << checkSection(tr("As left"), record.asLeft, record.tolerance);
    Section end{tr("Result"), {}, {}};
    end.fields << qMakePair(tr("As found"),
                            record.asFound.empty()
                                ? tr("not checked")
                                : resultText(passes(record.asFound, record.tolerance)))
               << qMakePair(tr("As left"),
                            record.asLeft.empty()
                                ? tr("not checked")
                                : resultText(passes(record.asLeft, record.tolerance)))
               << qMakePair(tr("Tool version"), record.version);
    doc.sections << end;
    return doc;
}

QByteArray csv(const Record &record)
{
    QByteArray out = "record,check,channel,reference_mA,mean_mA,spread_mA,std_deviation_mA,"
                     "error_mA,error_percent_of_span,result\n";
    const auto rows = [&](const char *check, const std::vector<PointResult> &points) {
        for (const PointResult &p : points)
            out += QStringList{record.number,
                               QString::fromLatin1(check),
                               QStringLiteral("%1%2")
                                   .arg(record.input ? "input" : "output")
                                   .arg(record.channel),
                               fixed(p.reference, 4),
                               fixed(p.reading, 4),
                               fixed(p.stats.spread, 4),
                               fixed(p.deviation, 4),
                               fixed(p.error(), 4),
                               fixed(p.errorPercent(), 4),
                               passes(p, record.tolerance) ? "pass" : "fail"}
                       .join(QLatin1Char(','))
                       .toUtf8() +
                   '\n';
    };
    rows("as found", record.asFound);
    rows("as left", record.asLeft);
    return out;
}

QJsonObject historyEntry(const Record &record, const QString &kind)
{
    const auto points = [&](const std::vector<PointResult> &list) {
        QJsonArray array;
        for (const PointResult &p : list)
            array.append(QJsonObject{{QStringLiteral("reference"), p.reference},
                                     {QStringLiteral("reading"), p.reading},
                                     {QStringLiteral("spread"), p.stats.spread}});
        return array;
    };
    QJsonObject entry{
        {QStringLiteral("at"),
         record.at.toOffsetFromUtc(record.at.offsetFromUtc()).toString(Qt::ISODate)},
        {QStringLiteral("kind"), kind},
        {QStringLiteral("record"), record.number},
        {QStringLiteral("technician"), record.technician},
        {QStringLiteral("port"), record.port},
        {QStringLiteral("station"), record.station},
        {QStringLiteral("channel"),
         QStringLiteral("%1%2").arg(record.input ? "input" : "output").arg(record.channel)},
        {QStringLiteral("tolerance"), record.tolerance},
    };
    if (!record.asFound.empty())
        entry.insert(QStringLiteral("as_found"), points(record.asFound));
    if (!record.asLeft.empty())
        entry.insert(QStringLiteral("as_left"), points(record.asLeft));
    if (record.fit) {
        entry.insert(QStringLiteral("from"), record.fit->oldCoefficient);
        entry.insert(QStringLiteral("to"), record.fit->newCoefficient);
    }
    return entry;
}

} // namespace calibration
