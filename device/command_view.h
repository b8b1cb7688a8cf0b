#pragma once
// What the operator's commands see of the window, beyond what the
// transactions see.

#include "modbus/link_view.h"

#include <QString>

namespace device {

inline const QString kAppTitle = QStringLiteral("RV4820工具");

enum class MessageIcon { None, Warning };

class CommandView : public modbus::LinkView {
public:
    virtual QString startIdText() const = 0;
    virtual void setStartIdText(const QString &text) = 0;
    virtual void setDataLengthText(const QString &text) = 0;
    virtual QString timerSetText() const = 0;
    virtual QString channelText(int i) const = 0;
    virtual void setChannelText(int i, const QString &text) = 0;
    virtual QString currentInputText(int k) const = 0;
    virtual void setCurrentInputText(int k, const QString &text) = 0;
    // A box with one OK button and the application title.
    virtual void tell(const QString &text, MessageIcon icon) = 0;
};

} // namespace device
