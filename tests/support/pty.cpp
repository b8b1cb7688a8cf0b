#include "tests/support/pty.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

void makeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
}

enum class Ready { Yes, TimedOut, HungUp };

Ready waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd p{fd, events, 0};
    const int ms = int(qMax<qint64>(deadline.remainingTime(), 0));
    if (poll(&p, 1, ms) <= 0)
        return Ready::TimedOut;
    return (p.revents & events) ? Ready::Yes : Ready::HungUp;
}

} // namespace

Pty::Pty(QObject *parent) : QObject(parent)
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    makeRaw(m_master);
    makeRaw(m_slave);
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
    const QDeadlineTimer deadline(1000);
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if ((n < 0 && errno != EAGAIN && errno != EINTR) ||
                 waitFor(m_master, POLLOUT, deadline) != Ready::Yes)
            return false;
    }
    return done == bytes.size();
}

QByteArray Pty::readFromMaster(int timeoutMs, int expectedBytes)
{
    QByteArray got;
    const QDeadlineTimer deadline(timeoutMs);
    while (m_master >= 0 && !deadline.hasExpired()) {
        if (expectedBytes > 0 && got.size() >= expectedBytes)
            break;
        const bool quietEnds = expectedBytes <= 0 && !got.isEmpty();
        const QDeadlineTimer wait = quietEnds ? qMin(deadline, QDeadlineTimer(kQuietMs)) : deadline;
        const Ready ready = waitFor(m_master, POLLIN, wait);
        if (ready == Ready::HungUp || (ready == Ready::TimedOut && quietEnds))
            break;
        if (ready == Ready::TimedOut)
            continue;
        char buf[4096];
        const ssize_t n = read(m_master, buf, sizeof buf);
        if (n > 0)
            got.append(buf, n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
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
    const QString dir = programDir + QStringLiteral("/ports");
    const QString link = QStringLiteral("%1/COM%2").arg(dir).arg(number);
    QDir().mkpath(dir);
    QFile::remove(link);
    return QFile::link(target, link);
}
