#pragma once
// Figures of this process and of samples, and the table rows the benchmark
// programs print for bench/run.sh to collect.

#include <QList>
#include <QString>
#include <optional>

namespace bench {

double cpuSeconds(); // user and system time of this process so far
long vmRssKb();      // resident memory now, from /proc/self/status

// Nearest-rank percentile, p from 0 to 100; 0 for no samples.
double percentile(QList<double> samples, double p);
double median(const QList<double> &samples);

// One row of the results table; met is empty for a figure without a target.
void printRow(const QString &what, const QString &figure, const QString &target,
              std::optional<bool> met);

QString ms(double value); // "200.4 ms"

} // namespace bench
