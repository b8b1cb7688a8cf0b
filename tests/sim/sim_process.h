#pragma once
// Runs build/rv4820-sim on a pseudo-terminal in a temporary directory, and
// the client end of that line, opened through the link.

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();

    // --pty <tmp>/link --seed 1 and the extra options; true once the link is there.
    bool start(const QStringList &extra = {});
    // True when the signal ended it with status 0.
    bool stop(int signalNumber);

    QString link() const { return m_dir.filePath(QStringLiteral("link")); }
    QProcess &process() { return m_process; }

    // Exit code of a run with these arguments alone, -1 for a crash.
    static int runToEnd(const QStringList &arguments, QByteArray *out = nullptr,
                        QByteArray *err = nullptr);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

class LinkClient {
public:
    explicit LinkClient(const QString &path);
    ~LinkClient();

    bool send(const QByteArray &bytes);
    // Reads until `count` bytes arrived or `timeoutMs` passed.
    QByteArray receive(int count, int timeoutMs);
    QByteArray collect(int ms) { return receive(1 << 16, ms); }

private:
    int m_fd = -1;
};
