#include "device/module_search.h"

#include "device/register_map.h"
#include "modbus/frame.h"
#include "modbus/wait.h"
#include "serial/comm_port.h"

#include <QCoreApplication>
#include <QSet>

namespace modsearch {

namespace {
constexpr int kRegistersRead = 2;
constexpr int kBitsPerCharacter = 11;
constexpr qint64 kUsPerSecond = 1000000;
constexpr qint64 kUsPerMs = 1000;
constexpr int kPollMs = 2; // how soon a complete reply or a stop is noticed
constexpr std::uint8_t kExceptionFlag = 0x80;

bool inRange(int station, const PlanInput &input)
{
    return station >= input.firstStation && station <= input.lastStation &&
           station >= kFirstStation && station <= kLastStation;
}

QList<int> stationOrder(const PlanInput &input, bool present)
{
    QList<int> order;
    if (present) {
        for (const auto &preferred : {input.stationBox, input.savedStation}) {
            if (preferred && inRange(*preferred, input) && !order.contains(*preferred))
                order << *preferred;
        }
    }
    for (int station = qMax(input.firstStation, kFirstStation);
         station <= qMin(input.lastStation, kLastStation); ++station) {
        if (!order.contains(station))
            order << station;
    }
    return order;
}

int word(const QByteArray &bytes, int at)
{
    return (static_cast<quint8>(bytes[at]) << 8) | static_cast<quint8>(bytes[at + 1]);
}

bool isException(const QByteArray &request, const QByteArray &bytes)
{
    return bytes.size() == kExceptionLength && bytes[0] == request[0] &&
           static_cast<quint8>(bytes[1]) == (modbus::kReadHolding | kExceptionFlag) &&
           modbus::HasValidCrc(bytes);
}
} // namespace

QList<Probe> planProbes(const PlanInput &input)
{
    QList<int> bauds;
    if (input.bauds.contains(input.presentBaud))
        bauds << input.presentBaud;
    for (int baud : input.bauds) {
        if (!bauds.contains(baud))
            bauds << baud;
    }
    QList<Probe> plan;
    for (int baud : bauds) {
        for (int station : stationOrder(input, baud == input.presentBaud))
            plan << Probe{baud, station};
    }
    return plan;
}

int defaultTimeoutMs(int baud)
{
    return baud <= 9600 ? 150 : 100;
}

qint64 silenceUs(int baud)
{
    // 3.5 characters: 7 half characters, rounded up.
    const qint64 bits = 7LL * kBitsPerCharacter * kUsPerSecond;
    return baud > 0 ? (bits + 2LL * baud - 1) / (2LL * baud) : 0;
}

int msRoundedUp(qint64 us)
{
    return us > 0 ? int((us + kUsPerMs - 1) / kUsPerMs) : 0;
}

QByteArray probeRequest(int station)
{
    return modbus::CloseFrame(static_cast<std::uint8_t>(station), modbus::kReadHolding, 0,
                              static_cast<std::uint8_t>(regmap::kBaudRate), 0, kRegistersRead);
}

std::optional<int> answerAt(const QByteArray &request, const QByteArray &bytes)
{
    for (int at = 0; at < bytes.size(); ++at) {
        if (isException(request, bytes.mid(at, kExceptionLength)) ||
            modbus::IsReadAnswer(request, bytes.mid(at, kReplyLength)))
            return at;
    }
    return std::nullopt;
}

Answer classify(const Probe &probe, const QByteArray &request, const QByteArray &bytes)
{
    Answer answer;
    answer.probe = probe;
    if (bytes.isEmpty())
        return answer;
    const std::optional<int> at = answerAt(request, bytes);
    if (!at) {
        answer.kind = Kind::Garbage;
        return answer;
    }
    const QByteArray frame = bytes.mid(*at);
    if (isException(request, frame.left(kExceptionLength))) {
        answer.kind = Kind::Device;
        answer.exceptionCode = static_cast<quint8>(frame[2]);
        return answer;
    }
    answer.baudRegister = word(frame, 3);
    answer.stationRegister = word(frame, 5);
    answer.kind = answer.stationRegister == probe.station ? Kind::Module : Kind::Device;
    return answer;
}

qint64 estimateLeftMs(const Config &config, int done, qint64 elapsedMs)
{
    qint64 expectedDone = 0;
    qint64 expectedLeft = 0;
    for (int i = 0; i < config.plan.size(); ++i) {
        const int baud = config.plan[i].baud;
        (i < done ? expectedDone : expectedLeft) +=
            config.timeoutFor(baud) + msRoundedUp(silenceUs(baud));
    }
    if (expectedDone <= 0)
        return expectedLeft;
    return (expectedLeft * elapsedMs + expectedDone - 1) / expectedDone;
}

QString withBaud(const QString &settings, int baud)
{
    QStringList parts = settings.split(QLatin1Char(','));
    parts[0] = QString::number(baud);
    return parts.join(QLatin1Char(','));
}

int baudOf(const QString &settings)
{
    return settings.section(QLatin1Char(','), 0, 0).toInt();
}

Runner::Runner(CommPort &port, QObject *parent) : QObject(parent), m_port(port) {}

Ending Runner::run(const Config &config)
{
    if (!m_port.portOpen())
        return Ending::NotOpen;
    m_running = true;
    m_savedSettings = m_port.settings();
    m_savedInputLen = m_port.inputLen();
    m_savedInputMode = m_port.inputMode();
    m_currentBaud = baudOf(m_savedSettings);
    m_port.setInputLen(0);
    m_port.setInputMode(1);
    m_clock.start();
    m_lastActivity.start();
    m_sent = 0;
    const std::optional<Ending> early = probeAll(config);
    const qint64 elapsed = m_clock.elapsed();
    emit progress({m_sent > 0 ? config.plan[m_sent - 1] : Probe{}, m_sent, int(config.plan.size()),
                   elapsed, estimateLeftMs(config, m_sent, elapsed)});
    restore();
    m_running = false;
    m_stopRequested = false; // a stop asked for before the run began ends that run
    return early.value_or(Ending::Completed);
}

std::optional<Ending> Runner::probeAll(const Config &config)
{
    QSet<int> garbageNoted;
    const int planned = int(config.plan.size());
    for (int done = 0; done < planned; ++done) {
        const Probe probe = config.plan[done];
        if (m_stopRequested)
            return Ending::Stopped;
        if (!switchTo(probe.baud))
            return Ending::PortLost;
        const qint64 elapsed = m_clock.elapsed();
        emit progress({probe, done, planned, elapsed, estimateLeftMs(config, done, elapsed)});
        waitSilence(probe.baud);
        if (m_stopRequested)
            return Ending::Stopped;
        const QByteArray request = probeRequest(probe.station);
        qint64 replyUs = 0;
        const QByteArray bytes = exchange(request, config.timeoutFor(probe.baud), replyUs);
        m_sent = done + 1;
        if (!m_port.portOpen())
            return Ending::PortLost;
        Answer answer = classify(probe, request, bytes);
        answer.replyMs = msRoundedUp(replyUs);
        if (answer.kind == Kind::Garbage && !garbageNoted.contains(probe.baud)) {
            garbageNoted.insert(probe.baud);
            emit answered(answer);
        } else if (answer.kind == Kind::Module || answer.kind == Kind::Device) {
            emit answered(answer);
        }
        if (answer.kind == Kind::Module && config.stopAtFirst)
            return Ending::FoundFirst;
    }
    return std::nullopt;
}

// Line settings change only while the port is closed; a port that cannot be
// opened again at the new baud counts as lost, so that the next read retries.
bool Runner::switchTo(int baud)
{
    if (baud == m_currentBaud && m_port.portOpen())
        return true;
    m_currentBaud = baud;
    m_lastActivity.start();
    return m_port.portOpen() && m_port.reopenWith(withBaud(m_savedSettings, baud));
}

void Runner::waitSilence(int baud)
{
    const qint64 needUs = silenceUs(baud);
    for (qint64 leftUs = needUs - m_lastActivity.nsecsElapsed() / 1000; leftUs > 0;
         leftUs = needUs - m_lastActivity.nsecsElapsed() / 1000) {
        if (!pause(msRoundedUp(leftUs)))
            return;
    }
}

// A wait cut short means the window is closing or the application quits: the search ends too.
bool Runner::pause(int ms)
{
    QElapsedTimer clock;
    clock.start();
    modbus::WaitMs(ms);
    if (clock.nsecsElapsed() < qint64(ms) * 1000000)
        m_stopRequested = true;
    return !m_stopRequested;
}

// Everything that came before the probe's end, until an answer is complete;
// replyUs is when the last of it was taken.
QByteArray Runner::exchange(const QByteArray &request, int timeoutMs, qint64 &replyUs)
{
    m_port.setInBufferCount(0); // what came after the last probe answers none of ours
    if (!m_port.output(request))
        return {};
    QElapsedTimer probeClock;
    probeClock.start();
    m_lastActivity.start();
    QByteArray bytes;
    while (!m_stopRequested && m_port.portOpen() && !answerAt(request, bytes) &&
           probeClock.elapsed() < timeoutMs) {
        pause(kPollMs);
        const QByteArray more = m_port.input();
        if (more.isEmpty())
            continue;
        m_lastActivity.start();
        replyUs = probeClock.nsecsElapsed() / 1000;
        bytes += more;
    }
    return bytes;
}

// A port closed during the search was lost (or closed by the window): it keeps
// that state, and only its settings go back, so that the next read reopens it
// as after any loss.
void Runner::restore()
{
    if (!m_port.portOpen())
        m_port.setSettings(m_savedSettings);
    else if (m_port.settings() != m_savedSettings)
        m_port.reopenWith(m_savedSettings);
    else
        m_port.setInBufferCount(0);
    m_port.setInputLen(m_savedInputLen);
    m_port.setInputMode(m_savedInputMode);
}

// The texts keep the search dialog's translation context.
QString describe(const Answer &answer)
{
    switch (answer.kind) {
    case Kind::Module:
        return QCoreApplication::translate(
                   "SearchDialog", "the module (baud-rate register %1, station register %2)")
            .arg(answer.baudRegister)
            .arg(answer.stationRegister);
    case Kind::Device:
        if (answer.exceptionCode >= 0)
            return QCoreApplication::translate("SearchDialog",
                                               "a device that refuses the read (exception %1)")
                .arg(answer.exceptionCode);
        return QCoreApplication::translate(
                   "SearchDialog", "another device (baud-rate register %1, station register %2)")
            .arg(answer.baudRegister)
            .arg(answer.stationRegister);
    default:
        return QCoreApplication::translate(
            "SearchDialog", "unreadable bytes: something is on the line at this baud");
    }
}

} // namespace modsearch
