#pragma once

#include "sim/line.h"

#include <QSerialPort>
#include <memory>

namespace sim {

class SerialLine : public Line {
    Q_OBJECT
public:
    // Opens an existing device at baud, 8 data bits, no parity, 1 stop bit.
    static std::unique_ptr<SerialLine> open(const QString &path, int baud, QString &error);

    bool send(const QByteArray &bytes) override;

private:
    SerialLine() = default;
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
};

} // namespace sim
