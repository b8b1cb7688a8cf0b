#include "bench/figures.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>

namespace bench {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long vmRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double percentile(QList<double> samples, double p)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<qsizetype>(std::ceil(p / 100 * samples.size()));
    return samples[std::clamp<qsizetype>(rank - 1, 0, samples.size() - 1)];
}

double median(const QList<double> &samples)
{
    return percentile(samples, 50);
}

void printRow(const QString &what, const QString &figure, const QString &target,
              std::optional<bool> met)
{
    const QString verdict = !met   ? QStringLiteral("—")
                            : *met ? QStringLiteral("met")
                                   : QStringLiteral("**not met**");
    printf("| %s | %s | %s | %s |\n", qPrintable(what), qPrintable(figure), qPrintable(target),
           qPrintable(verdict));
    fflush(stdout);
}

QString ms(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

} // namespace bench
