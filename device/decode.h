#pragma once
// Turns the bytes of one read reply into what the window shows.

#include <QByteArray>
#include <QString>
#include <vector>

namespace decode {

enum class Target { CurrentInput, Channel };

struct BoxText {
    Target target;
    int index;
    QString text;
};

struct Shown {
    bool hasReplyText = false;  // false: the reply was too short to show
    QString replyText;          // for txtState
    std::vector<BoxText> boxes; // in the order they are written
};

// DisplayMode 1 writes txtCurrentInput, 2 writes txtChannel from channelBase
// on, anything else only the reply text. maxLength is the requested quantity.
Shown DoData(const QByteArray &inx, int displayMode, int channelBase, int maxLength);

} // namespace decode
