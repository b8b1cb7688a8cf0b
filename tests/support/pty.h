#pragma once
// A pseudo-terminal pair standing in for a serial line. The program under test
// opens slavePath() as its port; the test plays the device on the master side.
// Both sides are raw, so every byte passes unchanged. The pair keeps a slave
// descriptor of its own, so the master never sees a hang-up when the port is
// closed, and bytes written while the port is closed wait in the line.

#include <QtCore>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

class Pty {
public:
    Pty()
    {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
            return;
        m_slavePath = QString::fromLocal8Bit(name);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        fcntl(m_master, F_SETFD, FD_CLOEXEC);
        fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    }
    ~Pty() { closeMaster(); }

    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    int slaveFd() const { return m_slave; } // tcgetattr here shows the line settings in force

    bool writeToMaster(const QByteArray &bytes)
    {
        return bytes.isEmpty() || (m_master >= 0 && write(m_master, bytes.constData(),
                                                          size_t(bytes.size())) == bytes.size());
    }

    // What the port sent: once expectedBytes have come or, with none expected,
    // once the line has been quiet for 50 ms after the first byte; at most timeoutMs.
    QByteArray readFromMaster(int timeoutMs, int expectedBytes = 0)
    {
        QByteArray got;
        const QDeadlineTimer deadline(timeoutMs);
        char buf[4096];
        pollfd p{m_master, POLLIN, 0};
        while (m_master >= 0 && (expectedBytes <= 0 || got.size() < expectedBytes)) {
            const bool quietEnds = expectedBytes <= 0 && !got.isEmpty();
            const int wait =
                int(qMin<qint64>(deadline.remainingTime(), quietEnds ? 50 : timeoutMs));
            const ssize_t n =
                wait > 0 && poll(&p, 1, wait) > 0 ? read(m_master, buf, sizeof buf) : 0;
            if (n <= 0)
                return got;
            got.append(buf, n);
        }
        return got;
    }

    // The device goes away: the port side is hung up, as when an adapter is unplugged.
    void closeMaster()
    {
        if (m_master < 0)
            return;
        if (onClosing)
            onClosing(); // listeners on the master descriptor must let go of it now
        close(m_master);
        close(m_slave);
        m_master = m_slave = -1;
    }
    std::function<void()> onClosing;

    // Makes <programDir>/ports/COM<number> a symbolic link to target (replacing one).
    static bool linkPort(const QString &programDir, int number, const QString &target)
    {
        const QString link = QStringLiteral("%1/ports/COM%2").arg(programDir).arg(number);
        QDir().mkpath(programDir + QStringLiteral("/ports"));
        QFile::remove(link);
        return QFile::link(target, link);
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
