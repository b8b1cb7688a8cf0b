#pragma once
// The operator's commands: status query, parameter reads and writes, and
// cyclic acquisition on Timer2. Bad input is answered with a message and
// sends nothing. One transaction at a time: a click or a tick that comes while
// one waits runs right after it, in the order they came; at most one tick waits.

#include "device/command_view.h"
#include "device/decode.h"

#include <QByteArray>
#include <QObject>
#include <deque>
#include <functional>
#include <optional>

class QTimer;

namespace modbus {
class Client;
}

namespace device {

inline const QString kBadStation = QStringLiteral("设备地址格式有误，应该为数字，值范围为0-255!");
inline const QString kBadValue = QStringLiteral("参数值格式有误，应该为数字，值范围为0-65535!");
inline const QString kBadStart = QStringLiteral("起始地址格式有误，应该为数字，值范围为1-255!");
inline const QString kBadLength = QStringLiteral("数据长度格式有误，应该为数字，值范围为0-255!");
inline const QString kIntervalNotNumber =
    QStringLiteral("你输入的定时时长格式有误，应该为数字，值范围为100-60000!");
inline const QString kIntervalOutOfRange =
    QStringLiteral("你输入的定时时长格式有误，应该为数字，值范围为50-60000!");

constexpr int kMinIntervalMs = 50;
constexpr int kMaxIntervalMs = 60000;
constexpr int kCounterLimit = 65535;

// What one read did: its bytes, and what the window was given.
struct ReadOutcome {
    QByteArray request;      // empty: nothing was sent (bad input, or the port not open)
    QByteArray reply;        // everything taken after the wait
    bool wellFormed = false; // the request's station and function, its byte count, a good CRC
    int displayMode = 0;     // as the reply was decoded
    int channelBase = 0;
    decode::Shown shown; // what the boxes were given; hasReplyText false when nothing
};

struct WriteOutcome {
    QByteArray request; // empty: nothing was sent
    QByteArray reply;
    bool echoed = false; // the exact echo, as a module answers a write
};

using ReadDone = std::function<void(const ReadOutcome &)>;
using WriteDone = std::function<void(const WriteOutcome &)>;

class Commands : public QObject {
    Q_OBJECT
public:
    Commands(modbus::Client &client, CommandView &view, QTimer &timer2, QObject *parent = nullptr);

    // The buttons. done, when given, runs once the command has had its turn,
    // also when bad input refused it; never when the window closed first.
    void comDoOnce(ReadDone done = {});
    void cmdReadAlarm(int index, ReadDone done = {});
    void cmdReadP(int i, ReadDone done = {});
    void cmdWriteP(int i, WriteDone done = {});
    // The ten parameters, registers 8 to 17, in one read into txtChannel(0) to
    // (9). Unlike the read buttons it leaves what the cycle reads alone: the
    // start address, the length and the display mode stay as they were.
    void readParameters(ReadDone done);
    // Runs job in turn with the clicks and ticks, as if it were a transaction:
    // nothing else starts until it returns.
    void runExclusive(std::function<void()> job);
    void cmdOneM();
    void cmdStopOnce();
    void onTimer2();
    // The window is closing: drops what waits, stops Timer2 and sends nothing more.
    void shutDown();

    int displayMode() const { return m_displayMode; }
    int channelBase() const { return m_channelBase; }
    bool cycling() const;
    // Nothing runs and nothing waits its turn.
    bool idle() const;

signals:
    // After every read transaction, from the buttons and the cycle alike, once
    // its reply is decoded.
    void readDone(const device::ReadOutcome &outcome);
    // After every write of parameter i that was sent.
    void writeDone(int i, const device::WriteOutcome &outcome);

private:
    struct ReadRequest {
        int displayMode;
        std::optional<int> channelBase; // nothing: left as it is
        int startNumber;
        int quantity;
    };

    void submit(std::function<void()> job);
    void submitRead(const ReadRequest &request, ReadDone done);
    void runQueued();
    void tick();
    ReadOutcome read(const ReadRequest &request);
    ReadOutcome readAside(const ReadRequest &request);
    ReadOutcome readModule(int station, int start, int quantity);
    WriteOutcome write(int i);
    void decodeReply(const QByteArray &reply, int maxLength);
    void stopCycle(const QString &message);

    modbus::Client &m_client;
    CommandView &m_view;
    QTimer &m_timer2;
    std::deque<std::function<void()>> m_queued;
    bool m_tickQueued = false;
    bool m_shutDown = false;
    bool m_exclusive = false;
    decode::Shown m_lastShown;
    int m_displayMode = 0;
    int m_channelBase = 0;
};

} // namespace device
