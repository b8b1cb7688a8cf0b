#include "bench/simulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QTime>

namespace bench {

namespace {
constexpr int kStartMs = 5000;
constexpr int kStopMs = 3000;
constexpr qint64 kDayMs = qint64(24) * 3600 * 1000;
} // namespace

bool Simulator::start(const QStringList &options, const QString &logPath)
{
    stop();
    QFile::remove(m_link); // a link left by a run that had to be killed
    m_process.setStandardOutputFile(logPath);
    m_process.setStandardErrorFile(logPath + QStringLiteral(".err"));
    m_process.start(QStringLiteral(RV_SIM_PATH),
                    QStringList{QStringLiteral("--pty"), m_link} + options);
    if (!m_process.waitForStarted(kStartMs))
        return false;
    QElapsedTimer clock;
    clock.start();
    // Blocking is fine here: nothing is being measured while the module starts.
    while (!QFileInfo(m_link).isSymLink()) {
        if (clock.elapsed() > kStartMs || m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(5);
    }
    return true;
}

void Simulator::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopMs)) {
        m_process.kill();
        m_process.waitForFinished(kStopMs);
    }
}

QList<SimEntry> readSimLog(const QString &path)
{
    static const QRegularExpression line(
        QStringLiteral(R"(^(\d\d:\d\d:\d\d\.\d{3}) (->|<-)((?: [0-9A-F]{2})*)(?: \((.*)\))?$)"));
    QList<SimEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    while (!file.atEnd()) {
        const auto match = line.match(QString::fromUtf8(file.readLine()).trimmed());
        if (!match.hasMatch())
            continue;
        const QTime time = QTime::fromString(match.captured(1), QStringLiteral("HH:mm:ss.zzz"));
        entries.append({time.msecsSinceStartOfDay(), match.captured(2) == QLatin1String("->"),
                        QByteArray::fromHex(match.captured(3).toLatin1()), match.captured(4)});
    }
    return entries;
}

qint64 msAfter(qint64 startTimeOfDayMs, qint64 timeOfDayMs)
{
    return ((timeOfDayMs - startTimeOfDayMs) % kDayMs + kDayMs) % kDayMs;
}

} // namespace bench
