#pragma once
// What the two transactions see of the window: the request and reply texts,
// the status lamps, the counters and the two Modbus fields they read.

#include <QString>

namespace modbus {

enum class Lamp { Connected, Yellow, NotConnected };

class LinkView {
public:
    virtual ~LinkView() = default;
    virtual void setCommandText(const QString &text) = 0; // txtCommand
    virtual void setStateText(const QString &text) = 0;   // txtState
    virtual void showLamp(Lamp lamp) = 0;
    virtual QString counterText() const = 0; // lblCounter
    virtual void setCounterText(const QString &text) = 0;
    virtual QString recCountText() const = 0; // lblRecCount
    virtual void setRecCountText(const QString &text) = 0;
    virtual QString stationText() const = 0;    // txtStationID
    virtual QString dataLengthText() const = 0; // txtDataLength
};

} // namespace modbus
