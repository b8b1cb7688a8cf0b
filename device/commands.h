#pragma once
// The operator's commands: status query, parameter reads and writes, and
// cyclic acquisition on Timer2. Bad input is answered with a message and
// sends nothing. One transaction at a time: a click or a tick that comes while
// one waits runs right after it, in the order they came; at most one tick waits.

#include "device/command_view.h"

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

class Commands : public QObject {
    Q_OBJECT
public:
    Commands(modbus::Client &client, CommandView &view, QTimer &timer2, QObject *parent = nullptr);

    void comDoOnce();
    void cmdReadAlarm(int index);
    void cmdReadP(int i);
    void cmdWriteP(int i);
    void cmdOneM();
    void cmdStopOnce();
    void onTimer2();
    // The window is closing: drops what waits, stops Timer2 and sends nothing more.
    void shutDown();

    int displayMode() const { return m_displayMode; }
    int channelBase() const { return m_channelBase; }

private:
    struct ReadRequest {
        int displayMode;
        std::optional<int> channelBase; // nothing: left as it is
        int startNumber;
        int quantity;
    };

    void submit(std::function<void()> job);
    void runQueued();
    void tick();
    void read(const ReadRequest &request);
    void write(int i);
    void decodeReply(const QByteArray &reply, int maxLength);
    void stopCycle(const QString &message);

    modbus::Client &m_client;
    CommandView &m_view;
    QTimer &m_timer2;
    std::deque<std::function<void()>> m_queued;
    bool m_tickQueued = false;
    bool m_shutDown = false;
    int m_displayMode = 0;
    int m_channelBase = 0;
};

} // namespace device
