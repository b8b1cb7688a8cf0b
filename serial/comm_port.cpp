#include "serial/comm_port.h"

#include "serial/port_names.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStringList>

#include <climits>
#include <optional>

namespace {

constexpr int kMaxPortNumber = 255;
constexpr int kWriteBoundMs = 100; // a request is a few bytes; never hold the window longer
constexpr int kMaxPulls = 64;      // bounds the draining of a port that never stops talking

struct LineSettings {
    qint32 baud = 0;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QChar parityLetter;
};

bool isDecimal(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<QSerialPort::Parity> parityFor(const QString &text)
{
    const QString letter = text.toUpper();
    if (letter == QLatin1String("N"))
        return QSerialPort::NoParity;
    if (letter == QLatin1String("E"))
        return QSerialPort::EvenParity;
    if (letter == QLatin1String("O"))
        return QSerialPort::OddParity;
    return std::nullopt;
}

// "baud,parity,data bits,stop bits", e.g. "19200,N,8,1".
std::optional<LineSettings> parseSettings(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4 || !isDecimal(parts[0]) || !isDecimal(parts[2]) || !isDecimal(parts[3]))
        return std::nullopt;
    bool ok = false;
    LineSettings line;
    line.baud = parts[0].toInt(&ok);
    const auto parity = parityFor(parts[1]);
    const int dataBits = parts[2].toInt();
    const int stopBits = parts[3].toInt();
    if (!ok || line.baud <= 0 || !parity || dataBits < 5 || dataBits > 8 || stopBits < 1 ||
        stopBits > 2)
        return std::nullopt;
    line.parity = *parity;
    line.parityLetter = parts[1].toUpper().at(0);
    line.dataBits = static_cast<QSerialPort::DataBits>(dataBits);
    line.stopBits = stopBits == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop;
    return line;
}

QString settingsText(const LineSettings &line)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(line.baud)
        .arg(line.parityLetter)
        .arg(int(line.dataBits))
        .arg(line.stopBits == QSerialPort::OneStop ? 1 : 2);
}

// Errors after which the device is gone: Qt leaves its notifier firing on a
// hung-up line, so the port has to be closed or the window spins.
bool meansLoss(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::DeviceNotFoundError;
}

} // namespace

CommPort::CommPort(const QStringList &linkDirs, QObject *parent)
    : QObject(parent), m_linkDirs(linkDirs)
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &CommPort::onError);
}

CommPort::~CommPort()
{
    closePort();
}

bool CommPort::refuse(const QString &why)
{
    m_lastError = why;
    return false;
}

bool CommPort::setCommPort(int number)
{
    if (m_port.isOpen())
        return refuse(tr("the port number cannot change while the port is open"));
    if (number < 1 || number > kMaxPortNumber)
        return refuse(tr("port number %1 is out of range").arg(number));
    if (number != m_commPort) {
        m_failure = portinfo::Failure::None; // what went wrong before concerns the old port
        m_device.clear();
        m_lost = false;
    }
    m_commPort = number;
    emit stateChanged();
    return true;
}

bool CommPort::setSettings(const QString &text)
{
    if (m_port.isOpen())
        return refuse(tr("the line settings cannot change while the port is open"));
    const auto line = parseSettings(text);
    if (!line)
        return refuse(tr("malformed line settings \"%1\"").arg(text));
    m_settings = settingsText(*line);
    emit stateChanged();
    return true;
}

bool CommPort::portOpen() const
{
    return m_port.isOpen();
}

bool CommPort::setPortOpen(bool open)
{
    m_lost = false;
    if (open == m_port.isOpen())
        return true;
    if (open)
        return openPort();
    closePort();
    m_pending.clear();
    m_failure = portinfo::Failure::None;
    emit stateChanged();
    return !m_port.isOpen();
}

bool CommPort::openPort()
{
    m_device = devicePath(m_commPort);
    const auto line = parseSettings(m_settings);
    if (!line) {
        refuse(tr("malformed line settings \"%1\"").arg(m_settings));
        return refuseOpening(QSerialPort::UnknownError);
    }
    m_port.setPortName(m_device);
    m_port.setBaudRate(line->baud);
    m_port.setParity(line->parity);
    m_port.setDataBits(line->dataBits);
    m_port.setStopBits(line->stopBits);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        refuse(m_port.errorString());
        return refuseOpening(m_port.error());
    }
    // What the device queued before we opened answers no request of ours.
    m_port.clear(QSerialPort::Input);
    m_pending.clear();
    m_failure = portinfo::Failure::None;
    emit stateChanged();
    return true;
}

bool CommPort::refuseOpening(QSerialPort::SerialPortError error)
{
    const QFileInfo device(m_device);
    m_failure =
        portinfo::failureOf(error, device.isReadable() && device.isWritable(), device.exists());
    emit stateChanged();
    return false;
}

void CommPort::closePort()
{
    if (!m_port.isOpen() || m_closing)
        return;
    m_closing = true;
    m_port.close();
    m_closing = false;
}

void CommPort::onError(QSerialPort::SerialPortError error)
{
    if (m_closing || !m_port.isOpen() || !meansLoss(error))
        return;
    const QString reason = m_port.errorString();
    m_lastError = reason;
    m_pending += m_port.readAll(); // what arrived before the loss is still the caller's
    closePort();
    m_failure = portinfo::Failure::WentAway;
    m_lost = true;
    emit portLost(reason);
    emit stateChanged();
}

bool CommPort::reopenAfterLoss()
{
    if (m_port.isOpen() || !m_lost || !openPort())
        return m_port.isOpen();
    m_lost = false;
    // As the window's pick does after opening.
    m_rThreshold = 1;
    m_inputMode = 1;
    return true;
}

bool CommPort::reopenWith(const QString &text)
{
    if (!m_port.isOpen())
        return refuse(tr("the port is not open"));
    const auto line = parseSettings(text);
    if (!line)
        return refuse(tr("malformed line settings \"%1\"").arg(text));
    closePort();
    m_pending.clear();
    m_settings = settingsText(*line);
    if (openPort())
        return true;
    m_lost = true;
    emit portLost(m_lastError);
    return false;
}

bool CommPort::setInputMode(int mode)
{
    if (mode != 0 && mode != 1)
        return refuse(tr("input mode %1 is unknown").arg(mode));
    m_inputMode = mode;
    return true;
}

bool CommPort::setInputLen(int len)
{
    if (len < 0)
        return refuse(tr("input length %1 is negative").arg(len));
    m_inputLen = len;
    return true;
}

bool CommPort::setRThreshold(int value)
{
    if (value < 0)
        return refuse(tr("receive threshold %1 is negative").arg(value));
    m_rThreshold = value;
    return true;
}

bool CommPort::setSThreshold(int value)
{
    if (value < 0)
        return refuse(tr("send threshold %1 is negative").arg(value));
    m_sThreshold = value;
    return true;
}

void CommPort::pullPending()
{
    // The event loop may not have run since the bytes arrived: take them
    // from the driver as well as from Qt's buffer.
    for (int pull = 0; pull < kMaxPulls && m_port.isOpen(); ++pull) {
        m_pending += m_port.readAll();
        if (!m_port.waitForReadyRead(0))
            break;
    }
    if (m_port.isOpen())
        m_pending += m_port.readAll();
}

int CommPort::inBufferCount()
{
    pullPending();
    return int(qMin<qsizetype>(m_pending.size(), INT_MAX));
}

bool CommPort::setInBufferCount(int count)
{
    if (count != 0)
        return refuse(tr("the input buffer can only be emptied"));
    m_pending.clear();
    return !m_port.isOpen() || m_port.clear(QSerialPort::Input);
}

int CommPort::outBufferCount() const
{
    return m_port.isOpen() ? int(qMin<qint64>(m_port.bytesToWrite(), INT_MAX)) : 0;
}

bool CommPort::setOutBufferCount(int count)
{
    if (count != 0)
        return refuse(tr("the output buffer can only be emptied"));
    return !m_port.isOpen() || m_port.clear(QSerialPort::Output);
}

bool CommPort::output(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return refuse(tr("the port is not open"));
    if (m_port.write(bytes) != bytes.size())
        return refuse(m_port.errorString());
    // Hand the bytes to the driver now: the caller's wait may not give Qt a turn first.
    m_port.flush();
    const QDeadlineTimer deadline(kWriteBoundMs);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0 && !deadline.hasExpired())
        m_port.waitForBytesWritten(int(deadline.remainingTime()));
    // Bytes still queued after the bound go out later, as with any serial driver.
    return m_port.isOpen();
}

QByteArray CommPort::input()
{
    pullPending();
    const qsizetype count =
        m_inputLen > 0 ? qMin<qsizetype>(m_inputLen, m_pending.size()) : m_pending.size();
    QByteArray taken = m_pending.left(count);
    m_pending.remove(0, count);
    return taken;
}

QString CommPort::devicePath(int number) const
{
    return portnames::deviceFor(m_linkDirs, number);
}

portinfo::PortState CommPort::state() const
{
    return {m_commPort, m_port.isOpen(), m_device, m_settings, m_failure, m_lastError};
}
