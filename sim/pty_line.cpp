#include "sim/pty_line.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

speed_t speedFor(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B19200;
    }
}

bool makeRaw(int fd, int baud)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetspeed(&tio, speedFor(baud));
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}
} // namespace

std::unique_ptr<PtyLine> PtyLine::create(const QString &link, int baud, QString &error)
{
    std::unique_ptr<PtyLine> line(new PtyLine);
    char name[256] = {};
    if (openpty(&line->m_master, &line->m_slave, name, nullptr, nullptr) != 0) {
        error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(systemError());
        return nullptr;
    }
    line->m_slaveName = QString::fromLocal8Bit(name);
    line->m_baud = baud;
    fcntl(line->m_master, F_SETFD, FD_CLOEXEC);
    fcntl(line->m_slave, F_SETFD, FD_CLOEXEC);
    if (!makeRaw(line->m_slave, baud) ||
        fcntl(line->m_master, F_SETFL, fcntl(line->m_master, F_GETFL) | O_NONBLOCK) != 0) {
        error = QStringLiteral("cannot set up the pseudo-terminal: %1").arg(systemError());
        return nullptr;
    }
    if (!line->makeLink(link, error))
        return nullptr;
    PtyLine *raw = line.get();
    line->m_notifier = std::make_unique<QSocketNotifier>(line->m_master, QSocketNotifier::Read);
    connect(line->m_notifier.get(), &QSocketNotifier::activated, raw, [raw] { raw->onReadable(); });
    return line;
}

bool PtyLine::makeLink(const QString &link, QString &error)
{
    const QByteArray path = QFile::encodeName(link);
    struct stat info {};
    if (lstat(path.constData(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = QStringLiteral("%1 exists and is not a symbolic link").arg(link);
            return false;
        }
        unlink(path.constData());
    }
    if (symlink(QFile::encodeName(m_slaveName).constData(), path.constData()) != 0) {
        error = QStringLiteral("cannot create the link %1: %2").arg(link, systemError());
        return false;
    }
    m_link = link;
    return true;
}

PtyLine::~PtyLine()
{
    // Only our own link goes: another run may have taken the name meanwhile.
    if (!m_link.isEmpty() && QFile::symLinkTarget(m_link) == m_slaveName)
        QFile::remove(m_link);
    m_notifier.reset();
    if (m_master >= 0)
        close(m_master);
    if (m_slave >= 0)
        close(m_slave);
}

void PtyLine::onReadable()
{
    QByteArray bytes;
    char chunk[512];
    for (;;) {
        const ssize_t n = read(m_master, chunk, sizeof chunk);
        if (n > 0) {
            bytes.append(chunk, static_cast<int>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            m_notifier->setEnabled(false);
            emit failed(QStringLiteral("pseudo-terminal: %1").arg(systemError()));
        }
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

bool PtyLine::atModuleBaud() const
{
    termios tio{};
    if (tcgetattr(m_slave, &tio) != 0)
        return true;
    const speed_t wanted = speedFor(m_baud);
    return cfgetispeed(&tio) == wanted && cfgetospeed(&tio) == wanted;
}

bool PtyLine::send(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false; // nobody reads the other side and its queue is full
        done += n;
    }
    return true;
}

} // namespace sim
