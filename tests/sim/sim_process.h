#pragma once
// rv4820-sim on a pseudo-terminal linked in a temporary directory, and a client
// on the far end of that line.

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class SimProcess {
public:
    ~SimProcess();
    // --pty <tmp>/link --seed 1 and the extra options; true once the link is there.
    bool start(const QStringList &extra = {});
    QString link() const { return m_dir.filePath(QStringLiteral("link")); }
    QProcess &process() { return m_process; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

class LinkClient {
public:
    explicit LinkClient(const QString &path);
    ~LinkClient();
    bool send(const QByteArray &bytes);
    QByteArray receive(int count, int timeoutMs); // until `count` bytes came or the time is up
    QByteArray collect(int ms) { return receive(1 << 16, ms); }

private:
    int m_fd = -1;
};
