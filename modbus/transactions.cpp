#include "modbus/transactions.h"

#include "modbus/number_text.h"
#include "modbus/frame.h"
#include "modbus/wait.h"
#include "serial/comm_port.h"

#include <cmath>

namespace modbus {

namespace {
constexpr int kMinCountedReply = 3;
int g_waitDivisor = 1;

bool isByte(int value)
{
    return value >= 0 && value <= 255;
}

// Marks the client busy for the length of one transaction.
class BusyScope {
public:
    explicit BusyScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_flag;
};
} // namespace

void setWaitDivisor(int divisor)
{
    g_waitDivisor = divisor;
}

Client::Client(CommPort &port, LinkView &view) : m_port(port), m_view(view) {}

void Client::clearTexts()
{
    m_last = {};
    m_requestText.clear();
    m_view.setStateText(QString());
    m_view.setCommandText(QString());
}

void Client::discardPendingInput()
{
    m_port.setInputLen(0);
    m_port.setInBufferCount(0);
    m_port.setInputMode(1);
}

void Client::send(const QByteArray &frame)
{
    m_port.output(frame);
    m_last.request = frame;
    m_requestText = RequestText(frame);
    m_view.setCommandText(m_requestText);
}

// A caption that is no number is left as it is.
void Client::countUp(QString (LinkView::*get)() const, void (LinkView::*set)(const QString &))
{
    const auto value = numtext::parse((m_view.*get)());
    if (!value)
        return;
    const double next = *value + 1;
    (m_view.*set)(next == std::floor(next) && std::fabs(next) < 1e15
                      ? QString::number(static_cast<long long>(next))
                      : QString::number(next));
}

void Client::ReadModule(std::uint8_t D1, std::uint8_t d2, std::uint8_t d3, std::uint8_t d4,
                        std::uint8_t d5)
{
    BusyScope busy(m_busy);
    clearTexts();
    if (!m_port.reopenAfterLoss()) {
        m_view.showLamp(Lamp::NotConnected);
        return;
    }
    m_view.showLamp(Lamp::Yellow);
    discardPendingInput();
    const QByteArray frame = CloseFrame(D1, d2, d5, d3, 0, d4);
    m_expectedLength = 2 * d4 + 5;
    m_port.setRThreshold(m_expectedLength);
    send(frame);

    // An abandoned wait means the window is closing: nothing is left to wait for.
    if (WaitMs(kReadFirstWaitMs / g_waitDivisor)) {
        m_view.showLamp(Lamp::Connected);
        WaitMs(kReadSecondWaitMs / g_waitDivisor);
    }

    countUp(&LinkView::counterText, &LinkView::setCounterText);
    const QByteArray reply = m_port.input();
    m_last.reply = reply;
    if (reply.size() >= kMinCountedReply)
        countUp(&LinkView::recCountText, &LinkView::setRecCountText);
    const auto maxLength = numtext::roundByte(m_view.dataLengthText());
    if (maxLength && m_onReply)
        m_onReply(reply, *maxLength);
}

bool Client::ModbusSetReg(int StartaddressH, int StartAddL, int valueH, int valueL)
{
    const auto station = numtext::roundByte(m_view.stationText());
    if (!station || !isByte(StartaddressH) || !isByte(StartAddL) || !isByte(valueH) ||
        !isByte(valueL))
        return false;

    BusyScope busy(m_busy);
    clearTexts();
    if (!m_port.reopenAfterLoss())
        return true;
    m_view.showLamp(Lamp::Yellow);
    discardPendingInput();
    send(CloseFrame(static_cast<std::uint8_t>(*station), kWriteSingle,
                    static_cast<std::uint8_t>(StartaddressH), static_cast<std::uint8_t>(StartAddL),
                    static_cast<std::uint8_t>(valueH), static_cast<std::uint8_t>(valueL)));
    WaitMs(kWriteWaitMs / g_waitDivisor);
    m_last.reply = m_port.input();
    m_view.setStateText(ShowHex(m_last.reply));
    return true;
}

} // namespace modbus
