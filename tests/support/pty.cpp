#include "tests/support/pty.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty(QObject *parent) : QObject(parent)
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
}

Pty::~Pty()
{
    closeMaster();
}

bool Pty::writeToMaster(const QByteArray &bytes)
{
    return bytes.isEmpty() || (m_master >= 0 && write(m_master, bytes.constData(),
                                                      size_t(bytes.size())) == bytes.size());
}

QByteArray Pty::readFromMaster(int timeoutMs, int expectedBytes)
{
    QByteArray got;
    const QDeadlineTimer deadline(timeoutMs);
    while (m_master >= 0 && (expectedBytes <= 0 || got.size() < expectedBytes)) {
        // Once something came, a quiet line ends the read when no count is expected.
        const bool quietEnds = expectedBytes <= 0 && !got.isEmpty();
        const qint64 left = deadline.remainingTime();
        pollfd p{m_master, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, int(quietEnds ? qMin<qint64>(left, kQuietMs) : left)) <= 0)
            break;
        char buf[4096];
        const ssize_t n = read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, n);
    }
    return got;
}

void Pty::closeMaster()
{
    if (m_master < 0)
        return;
    emit masterClosing();
    close(m_master);
    close(m_slave);
    m_master = m_slave = -1;
}

bool Pty::linkPort(const QString &programDir, int number, const QString &target)
{
    const QString link = QStringLiteral("%1/ports/COM%2").arg(programDir).arg(number);
    QDir().mkpath(programDir + QStringLiteral("/ports"));
    QFile::remove(link);
    return QFile::link(target, link);
}
