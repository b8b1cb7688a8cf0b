#include "sim_process.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr int kStartMs = 10000;
}

SimProcess::~SimProcess()
{
    m_process.kill();
    m_process.waitForFinished(kStartMs);
}

bool SimProcess::start(const QStringList &extra)
{
    m_process.start(QStringLiteral(RV_SIM_PATH),
                    QStringList{"--pty", link(), "--seed", "1"} + extra);
    QDeadlineTimer deadline(kStartMs);
    while (m_process.waitForStarted(kStartMs) && !QFileInfo(link()).isSymLink() &&
           !deadline.hasExpired())
        QThread::msleep(10);
    return QFileInfo(link()).isSymLink();
}

LinkClient::LinkClient(const QString &path)
    : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
}

LinkClient::~LinkClient()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool LinkClient::send(const QByteArray &bytes)
{
    return m_fd >= 0 && ::write(m_fd, bytes.constData(), bytes.size()) == bytes.size();
}

QByteArray LinkClient::receive(int count, int timeoutMs)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeoutMs);
    while (m_fd >= 0 && bytes.size() < count && !deadline.hasExpired()) {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(deadline.remainingTime())) <= 0)
            continue;
        char chunk[256];
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n > 0)
            bytes.append(chunk, static_cast<int>(n));
        else if (n == 0 || errno != EAGAIN)
            break; // the simulator has gone
    }
    return bytes;
}
