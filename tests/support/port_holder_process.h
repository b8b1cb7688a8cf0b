#pragma once
// Another program holding a serial port, for tests of a port that cannot be
// had: runs port_holder on a device until stop() or destruction.

#include <QProcess>
#include <QString>

class PortHolderProcess {
public:
    ~PortHolderProcess() { stop(); }

    // True once the holder reports that it has the port open.
    bool start(const QString &device, int timeoutMs = 5000);
    void stop();
    QString errorText() const { return m_errorText; }

private:
    QProcess m_process;
    QString m_errorText;
};
