#include "tests/support/port_holder_process.h"

#include <QDeadlineTimer>

bool PortHolderProcess::start(const QString &device, int timeoutMs)
{
    stop();
    m_process.start(QStringLiteral(RV_PORT_HOLDER), {device});
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray said;
    while (!said.contains("held\n") && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        said += m_process.readAllStandardOutput();
    }
    if (said.contains("held\n"))
        return true;
    m_errorText = QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
    stop();
    return false;
}

void PortHolderProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}
