#pragma once
// The serial port component: the property set the window drives (CommPort,
// Settings, PortOpen, InputMode, InputLen, InBufferCount, OutBufferCount,
// RThreshold, SThreshold, Output, Input), built on QSerialPort.
// A refused operation returns false; nothing here throws or shows a message.

#include "serial/port_info.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>

class CommPort : public QObject {
    Q_OBJECT
    Q_PROPERTY(int CommPort READ commPort WRITE writeCommPort)
    Q_PROPERTY(QString Settings READ settings WRITE writeSettings)
    Q_PROPERTY(bool PortOpen READ portOpen WRITE writePortOpen)
    Q_PROPERTY(int InputMode READ inputMode WRITE writeInputMode)
    Q_PROPERTY(int InputLen READ inputLen WRITE writeInputLen)
    Q_PROPERTY(int RThreshold READ rThreshold WRITE writeRThreshold)
    Q_PROPERTY(int SThreshold READ sThreshold WRITE writeSThreshold)

public:
    // linkDirs are searched in order for "ports/COMn" links.
    explicit CommPort(const QStringList &linkDirs, QObject *parent = nullptr);
    ~CommPort() override;

    int commPort() const { return m_commPort; }
    bool setCommPort(int number); // refused while open, and for 0 or above 255

    QString settings() const { return m_settings; }
    bool setSettings(const QString &text); // "19200,N,8,1"; refused while open

    bool portOpen() const;
    bool setPortOpen(bool open); // false when the port could not be opened

    int inputMode() const { return m_inputMode; }
    bool setInputMode(int mode); // 0 text, 1 byte arrays
    int inputLen() const { return m_inputLen; }
    bool setInputLen(int len);

    int inBufferCount();
    bool setInBufferCount(int count); // 0 throws away everything received
    int outBufferCount() const;
    bool setOutBufferCount(int count); // 0 throws away what is not yet sent

    int rThreshold() const { return m_rThreshold; }
    bool setRThreshold(int value);
    int sThreshold() const { return m_sThreshold; }
    bool setSThreshold(int value);

    // After the open port's device went away, opens the same COM number again
    // with the same settings; true when the port is open afterwards. A port
    // that a pick, Save or start-up could not open is left closed.
    bool reopenAfterLoss();
    // Closes the open port and opens it again with other line settings. When it
    // cannot be opened again it counts as lost, as if it had gone away while
    // open, so that reopenAfterLoss tries again. Refused while closed.
    bool reopenWith(const QString &text);
    // Lost and not yet back: the next reopenAfterLoss tries to open it again.
    bool lost() const { return m_lost; }

    bool output(const QByteArray &bytes);
    QByteArray input(); // everything pending, oldest first

    // The device that "COM"n names on this host.
    QString devicePath(int number) const;
    QString lastError() const { return m_lastError; }
    const QStringList &linkDirs() const { return m_linkDirs; }
    // Where the port stands, for telling the operator.
    portinfo::PortState state() const;

signals:
    // The open port went away (adapter unplugged, other end closed); it is closed now.
    void portLost(const QString &reason);
    // After each opening (done or refused), closing on request, and loss.
    void stateChanged();

private:
    void writeCommPort(int v) { setCommPort(v); }
    void writeSettings(const QString &v) { setSettings(v); }
    void writePortOpen(bool v) { setPortOpen(v); }
    void writeInputMode(int v) { setInputMode(v); }
    void writeInputLen(int v) { setInputLen(v); }
    void writeRThreshold(int v) { setRThreshold(v); }
    void writeSThreshold(int v) { setSThreshold(v); }
    void onError(QSerialPort::SerialPortError error);
    void pullPending();
    bool openPort();
    void closePort();
    bool refuse(const QString &why);
    bool refuseOpening(QSerialPort::SerialPortError error);

    QStringList m_linkDirs;
    QString m_device; // what the last opening went to
    portinfo::Failure m_failure = portinfo::Failure::None;
    QSerialPort m_port;
    QByteArray m_pending;
    QString m_settings = QStringLiteral("9600,N,8,1");
    QString m_lastError;
    int m_commPort = 1;
    int m_inputMode = 0;
    int m_inputLen = 0;
    int m_rThreshold = 0;
    int m_sThreshold = 0;
    bool m_closing = false; // closing raises errors of its own; they are no loss
    bool m_lost = false;    // went away while open, and not opened or closed on request since
};
