#include "tests/support/scripted_module.h"

#include "tests/support/pty.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <unistd.h>

ScriptedModule::ScriptedModule(Pty &pty, Responder responder, QObject *parent)
    : QObject(parent), m_pty(&pty), m_responder(std::move(responder))
{
    m_clock.start();
    if (!pty.isOpen())
        return;
    m_notifier = new QSocketNotifier(pty.masterFd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ScriptedModule::onReadable);
    // A notifier on a closed descriptor would fire for ever.
    connect(&pty, &Pty::masterClosing, this, &ScriptedModule::stopListening);
}

ScriptedModule::~ScriptedModule() = default;

void ScriptedModule::stopListening()
{
    if (!m_notifier)
        return;
    m_notifier->setEnabled(false);
    m_notifier->deleteLater(); // may be called from its own signal
    m_notifier = nullptr;
}

void ScriptedModule::onReadable()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = read(m_pty->masterFd(), buf, sizeof buf);
        if (n > 0) {
            m_partial.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            stopListening(); // the line is gone; do not spin on it
        break;
    }
    while (!m_partial.isEmpty() && m_partial.size() >= m_frameLength) {
        const qsizetype size = m_frameLength > 0 ? m_frameLength : m_partial.size();
        const QByteArray request = m_partial.left(size);
        m_partial.remove(0, size);
        answer(request);
    }
}

void ScriptedModule::answer(const QByteArray &request)
{
    m_requests.append({request, m_clock.elapsed()});
    emit requestReceived(request);
    const QByteArray reply = m_responder ? m_responder(request) : QByteArray();
    if (reply.isEmpty())
        return;
    if (m_delayMs <= 0) {
        m_pty->writeToMaster(reply);
        return;
    }
    QTimer::singleShot(m_delayMs, this, [this, reply] {
        if (m_pty)
            m_pty->writeToMaster(reply);
    });
}
