#include "sim/server.h"

#include "modbus/frame.h"

#include <QTime>
#include <cstdio>

namespace sim {

Server::Server(Line &line, ModuleModel &model, Faults &faults, int baud)
    : m_line(line), m_model(model), m_faults(faults), m_out(stdout)
{
    m_silence.setSingleShot(true);
    m_silence.setTimerType(Qt::PreciseTimer);
    m_silence.setInterval(Framer::silenceMs(baud));
    connect(&m_silence, &QTimer::timeout, this, &Server::onSilence);
    m_lateTimer.setSingleShot(true);
    m_lateTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_lateTimer, &QTimer::timeout, this, &Server::sendDue);
    connect(&m_line, &Line::received, this, &Server::onReceived);
    m_clock.start();
}

void Server::onReceived(const QByteArray &bytes)
{
    for (const QByteArray &frame : m_framer.feed(bytes))
        serve(frame);
    if (m_framer.hasPending())
        m_silence.start();
}

void Server::onSilence()
{
    const QByteArray frame = m_framer.silence();
    if (!frame.isEmpty())
        serve(frame);
}

void Server::serve(const QByteArray &request)
{
    if (!m_line.atModuleBaud()) {
        log(QStringLiteral("->"), request, {QStringLiteral("at another baud")});
        reply(m_faults.misheard(), {QStringLiteral("misheard")});
        return;
    }
    const std::optional<QByteArray> answer = m_model.handleRequest(request, m_clock.elapsed());
    if (!answer) {
        log(QStringLiteral("->"), request, {QStringLiteral("no reply")});
        return;
    }
    if (m_faults.dropRequest()) {
        log(QStringLiteral("->"), request, {QStringLiteral("dropped")});
        return;
    }
    log(QStringLiteral("->"), request, {});
    QStringList notes = m_model.meterNotes(m_clock.elapsed());
    const QByteArray bytes = m_faults.spoil(*answer, notes);
    if (m_faults.delayMs() <= 0) {
        reply(bytes, notes);
        return;
    }
    m_late.push_back({m_clock.elapsed() + m_faults.delayMs(), bytes, notes});
    if (!m_lateTimer.isActive())
        m_lateTimer.start(m_faults.delayMs());
}

void Server::sendDue()
{
    while (!m_late.empty() && m_late.front().dueMs <= m_clock.elapsed()) {
        reply(m_late.front().bytes, m_late.front().notes);
        m_late.pop_front();
    }
    if (!m_late.empty())
        m_lateTimer.start(static_cast<int>(m_late.front().dueMs - m_clock.elapsed()));
}

void Server::reply(const QByteArray &bytes, const QStringList &notes)
{
    QStringList all = notes;
    if (!m_line.send(bytes))
        all << QStringLiteral("not sent");
    log(QStringLiteral("<-"), bytes, all);
}

void Server::log(const QString &direction, const QByteArray &bytes, const QStringList &notes)
{
    m_out << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) << ' ' << direction
          << modbus::ShowHex(bytes);
    if (!notes.isEmpty())
        m_out << " (" << notes.join(QStringLiteral(", ")) << ')';
    m_out << Qt::endl;
}

} // namespace sim
