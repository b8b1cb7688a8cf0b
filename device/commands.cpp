#include "device/commands.h"

#include "device/decode.h"
#include "modbus/number_text.h"
#include "device/register_map.h"
#include "modbus/frame.h"
#include "modbus/transactions.h"

#include <QTimer>
#include <cmath>
#include <utility>

namespace device {

namespace {
constexpr int kAllCoefStart = regmap::kFirstInputCoef + 1;

QString number(int value)
{
    return QString::number(value);
}
} // namespace

Commands::Commands(modbus::Client &client, CommandView &view, QTimer &timer2, QObject *parent)
    : QObject(parent), m_client(client), m_view(view), m_timer2(timer2)
{
    m_client.setReplyHandler(
        [this](const QByteArray &reply, int maxLength) { decodeReply(reply, maxLength); });
    connect(&m_timer2, &QTimer::timeout, this, &Commands::onTimer2);
}

void Commands::comDoOnce(ReadDone done)
{
    submitRead({1, std::nullopt, regmap::kFirstInput + 1, regmap::kLiveCount}, std::move(done));
}

void Commands::cmdReadAlarm(int /*index*/, ReadDone done)
{
    submitRead({2, 2, kAllCoefStart, regmap::kCoefCount}, std::move(done));
}

void Commands::cmdReadP(int i, ReadDone done)
{
    submitRead({2, i, regmap::parameterRegister(i) + 1, 1}, std::move(done));
}

void Commands::readParameters(ReadDone done)
{
    submit([this, done = std::move(done)] {
        const ReadOutcome outcome =
            readAside({2, 0, regmap::kBaudRate + 1, regmap::kParameterCount});
        if (done)
            done(outcome);
    });
}

void Commands::submitRead(const ReadRequest &request, ReadDone done)
{
    submit([this, request, done = std::move(done)] {
        const ReadOutcome outcome = read(request);
        if (done)
            done(outcome);
    });
}

void Commands::cmdWriteP(int i, WriteDone done)
{
    submit([this, i, done = std::move(done)] {
        const WriteOutcome outcome = write(i);
        if (!outcome.request.isEmpty())
            emit writeDone(i, outcome);
        if (done)
            done(outcome);
    });
}

void Commands::runExclusive(std::function<void()> job)
{
    submit([this, job = std::move(job)] {
        m_exclusive = true;
        job();
        m_exclusive = false;
    });
}

bool Commands::cycling() const
{
    return m_timer2.isActive();
}

bool Commands::idle() const
{
    return m_queued.empty() && !m_client.busy() && !m_exclusive;
}

void Commands::submit(std::function<void()> job)
{
    if (m_shutDown)
        return;
    m_queued.push_back(std::move(job));
    runQueued();
}

// One job at a time, each from the event loop: jobs that came during a
// transaction's wait follow it in order, and the window stays responsive between them.
void Commands::runQueued()
{
    if (m_shutDown || m_queued.empty() || m_client.busy() || m_exclusive)
        return;
    auto job = std::move(m_queued.front());
    m_queued.pop_front();
    job();
    if (!m_queued.empty())
        QMetaObject::invokeMethod(this, &Commands::runQueued, Qt::QueuedConnection);
}

void Commands::shutDown()
{
    m_shutDown = true;
    m_queued.clear();
    m_tickQueued = false;
    m_timer2.stop();
}

ReadOutcome Commands::read(const ReadRequest &request)
{
    const auto station = numtext::floorByte(m_view.stationText());
    if (!station) {
        m_view.tell(kBadStation, MessageIcon::Warning);
        return {};
    }
    m_displayMode = request.displayMode;
    if (request.channelBase)
        m_channelBase = *request.channelBase;
    m_view.setDataLengthText(number(request.quantity));
    m_view.setStartIdText(number(request.startNumber));
    const auto start = numtext::floorByte(m_view.startIdText(), 1);
    const auto quantity = numtext::floorByte(m_view.dataLengthText());
    if (!start || !quantity)
        return {};
    return readModule(*station, *start, *quantity);
}

// The texts are not touched and the mode is put back, so a cycle under way
// goes on reading what it read before.
ReadOutcome Commands::readAside(const ReadRequest &request)
{
    const auto station = numtext::floorByte(m_view.stationText());
    if (!station) {
        m_view.tell(kBadStation, MessageIcon::Warning);
        return {};
    }
    const int mode = std::exchange(m_displayMode, request.displayMode);
    const int base = std::exchange(m_channelBase, request.channelBase.value_or(m_channelBase));
    ReadOutcome outcome = readModule(*station, request.startNumber, request.quantity);
    m_displayMode = mode;
    m_channelBase = base;
    return outcome;
}

// One read transaction, and what it did, told to whoever listens.
ReadOutcome Commands::readModule(int station, int start, int quantity)
{
    m_lastShown = {};
    m_client.ReadModule(static_cast<std::uint8_t>(station), modbus::kReadHolding,
                        static_cast<std::uint8_t>(start - 1), static_cast<std::uint8_t>(quantity),
                        0);
    const modbus::Exchange &exchange = m_client.lastExchange();
    ReadOutcome outcome{
        exchange.request, exchange.reply, modbus::IsReadAnswer(exchange.request, exchange.reply),
        m_displayMode,    m_channelBase,  m_lastShown};
    emit readDone(outcome);
    return outcome;
}

WriteOutcome Commands::write(int i)
{
    if (!numtext::roundByte(m_view.stationText())) {
        m_view.tell(kBadStation, MessageIcon::Warning);
        return {};
    }
    const auto value = numtext::inRange(numtext::roundOf(m_view.channelText(i)), 0, 65535);
    if (!value) {
        m_view.tell(kBadValue, MessageIcon::Warning);
        return {};
    }
    m_client.ModbusSetReg(0, regmap::parameterRegister(i), *value / 256, *value % 256);
    const modbus::Exchange &exchange = m_client.lastExchange();
    return {exchange.request, exchange.reply,
            modbus::IsWriteEcho(exchange.request, exchange.reply)};
}

void Commands::decodeReply(const QByteArray &reply, int maxLength)
{
    const decode::Shown shown = decode::DoData(reply, m_displayMode, m_channelBase, maxLength);
    m_lastShown = shown;
    if (!shown.hasReplyText)
        return;
    m_view.setStateText(shown.replyText);
    for (const decode::BoxText &box : shown.boxes) {
        if (box.target == decode::Target::CurrentInput)
            m_view.setCurrentInputText(box.index, box.text);
        else
            m_view.setChannelText(box.index, box.text);
    }
}

void Commands::cmdOneM()
{
    m_view.setCounterText(QStringLiteral("1"));
    const auto value = numtext::parse(m_view.timerSetText());
    if (!value) {
        m_view.tell(kIntervalNotNumber, MessageIcon::None);
        return;
    }
    const double t = std::floor(*value);
    if (!(t >= kMinIntervalMs && t <= kMaxIntervalMs)) {
        m_view.tell(kIntervalOutOfRange, MessageIcon::None);
        return;
    }
    m_timer2.setInterval(static_cast<int>(std::nearbyint(*value)));
    m_timer2.start();
}

void Commands::cmdStopOnce()
{
    m_timer2.stop();
    m_tickQueued = false; // a tick that waits for a transaction to end is forgotten
}

void Commands::stopCycle(const QString &message)
{
    m_timer2.stop();
    m_view.tell(message, MessageIcon::Warning);
}

// A tick that falls due during a transaction runs as soon as it ends, so the
// cycle keeps pace; ticks never pile up behind a slow module.
void Commands::onTimer2()
{
    if (m_shutDown || m_tickQueued)
        return;
    m_tickQueued = true;
    m_queued.push_back([this] {
        if (!m_tickQueued)
            return;
        m_tickQueued = false;
        tick();
    });
    // Not from Timer2's own handler: Qt does not fire a timer again while its
    // handler runs, so a read started there would hold back the next tick.
    QMetaObject::invokeMethod(this, &Commands::runQueued, Qt::QueuedConnection);
}

void Commands::tick()
{
    const auto station = numtext::floorByte(m_view.stationText());
    if (!station)
        return stopCycle(kBadStation);
    const auto start = numtext::floorByte(m_view.startIdText(), 1);
    if (!start)
        return stopCycle(kBadStart);
    const auto quantity = numtext::floorByte(m_view.dataLengthText());
    if (!quantity)
        return stopCycle(kBadLength);
    const auto counter = numtext::parse(m_view.counterText());
    if (counter && *counter > kCounterLimit)
        m_view.setCounterText(QStringLiteral("0"));
    readModule(*station, *start, *quantity);
}

} // namespace device
