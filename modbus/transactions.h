#pragma once
// The two exchanges with the module: read holding registers (function 3)
// and write one register (function 6), with fixed waits and no validation
// of the reply beyond what the window shows.

#include "modbus/link_view.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class CommPort;

namespace modbus {

constexpr int kReadFirstWaitMs = 100;
constexpr int kReadSecondWaitMs = 100;
constexpr int kWriteWaitMs = 500;

// The waits above, divided: tests that judge nothing of the module's timing run
// sooner with a divisor above 1 (it must be 1 or more). The tool itself never changes it.
void setWaitDivisor(int divisor);

// The bytes of the last transaction; request is empty when nothing was sent.
struct Exchange {
    QByteArray request;
    QByteArray reply;
};

class Client {
public:
    // Gets whatever a read brought back and the quantity read from txtDataLength.
    using ReplyHandler = std::function<void(const QByteArray &reply, int maxLength)>;

    Client(CommPort &port, LinkView &view);

    void setReplyHandler(ReplyHandler handler) { m_onReply = std::move(handler); }

    // Station D1, function d2, start address d5:d3, quantity d4.
    void ReadModule(std::uint8_t D1, std::uint8_t d2, std::uint8_t d3, std::uint8_t d4,
                    std::uint8_t d5);

    // Takes the station from txtStationID, rounded. Sends nothing and changes
    // nothing when the station or any argument gives no byte; returns false then.
    bool ModbusSetReg(int StartaddressH, int StartAddL, int valueH, int valueL);

    // True while a transaction waits: no other may start then.
    bool busy() const { return m_busy; }
    const QString &requestText() const { return m_requestText; }
    int expectedReplyLength() const { return m_expectedLength; }
    const Exchange &lastExchange() const { return m_last; }

private:
    void clearTexts();
    void discardPendingInput();
    void send(const QByteArray &frame);
    void countUp(QString (LinkView::*get)() const, void (LinkView::*set)(const QString &));

    CommPort &m_port;
    LinkView &m_view;
    ReplyHandler m_onReply;
    QString m_requestText;
    Exchange m_last;
    int m_expectedLength = 0;
    bool m_busy = false;
};

} // namespace modbus
