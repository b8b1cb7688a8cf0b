#pragma once
// rv4820-sim as a child process on a pseudo-terminal, and the log it writes:
// one line per request and reply with a millisecond time of day.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace bench {

struct SimEntry {
    qint64 ms; // time of day in milliseconds
    bool request;
    QByteArray bytes;
    QString notes; // "dropped", "corrupt, noise", ...

    int function() const { return bytes.size() > 1 ? static_cast<quint8>(bytes[1]) : -1; }
};

class Simulator {
public:
    explicit Simulator(const QString &link) : m_link(link) {}
    ~Simulator() { stop(); }
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Starts it with the extra options, its output going to logPath; returns
    // once the link to its pseudo-terminal is in place.
    bool start(const QStringList &options, const QString &logPath);
    // Ends it the way an operator's Ctrl+C would; the link goes with it.
    void stop();
    // A line on its standard input, such as "current 1 12.0\n".
    void tell(const QByteArray &line) { m_process.write(line); }

private:
    QString m_link;
    QProcess m_process;
};

QList<SimEntry> readSimLog(const QString &path);

// Milliseconds from one time of day to a later one, across midnight too.
qint64 msAfter(qint64 startTimeOfDayMs, qint64 timeOfDayMs);

} // namespace bench
