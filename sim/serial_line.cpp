#include "sim/serial_line.h"

namespace sim {

std::unique_ptr<SerialLine> SerialLine::open(const QString &path, int baud, QString &error)
{
    std::unique_ptr<SerialLine> line(new SerialLine);
    QSerialPort &port = line->m_port;
    port.setPortName(path);
    if (!port.open(QIODevice::ReadWrite)) {
        error = QStringLiteral("cannot open %1: %2").arg(path, port.errorString());
        return nullptr;
    }
    if (!port.setBaudRate(baud) || !port.setDataBits(QSerialPort::Data8) ||
        !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop) ||
        !port.setFlowControl(QSerialPort::NoFlowControl)) {
        error = QStringLiteral("cannot set up %1: %2").arg(path, port.errorString());
        return nullptr;
    }
    SerialLine *raw = line.get();
    connect(&port, &QSerialPort::readyRead, raw,
            [raw] { emit raw->received(raw->m_port.readAll()); });
    connect(&port, &QSerialPort::errorOccurred, raw, &SerialLine::onError);
    return line;
}

bool SerialLine::send(const QByteArray &bytes)
{
    return m_port.write(bytes) == bytes.size();
}

void SerialLine::onError(QSerialPort::SerialPortError error)
{
    // A device that goes away shows as a read error too, and Qt keeps its notifier
    // firing on the hung-up line: close the port, or the run spins instead of ending.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::DeviceNotFoundError)
        return;
    const QString reason = QStringLiteral("%1: %2").arg(m_port.portName(), m_port.errorString());
    disconnect(&m_port, nullptr, this, nullptr); // closing raises errors of its own
    m_port.close();
    emit failed(reason);
}

} // namespace sim
