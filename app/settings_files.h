#pragma once
// comm.set and ModSet.set: one line of decimal numbers separated by commas,
// ended by CR LF, in the program directory.

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include <QByteArray>

namespace settingsfile {

inline const QString kCommSet = QStringLiteral("comm.set");
inline const QString kModSet = QStringLiteral("ModSet.set");

struct CommSettings {
    std::int16_t port = 4;
    std::int16_t baud = 19200;
};

struct ModSettings {
    std::int16_t station = 2;
    std::int16_t dataLength = 16;
};

// A missing, unreadable or malformed comm.set gives the defaults above; a
// ModSet.set like that gives nothing, and the window keeps its own values.
CommSettings readCommSet(const QString &path);
std::optional<ModSettings> readModSet(const QString &path);

struct WriteResult {
    bool ok = false;
    QString error; // the system's reason when not ok
};

// Replaces the file atomically: the old content stays whole if anything fails.
WriteResult writeCommSet(const QString &path, const CommSettings &settings);

// The first count whole numbers (decimal, optional sign, 16-bit signed) of a
// settings text; runs of commas, blanks, tabs and line breaks separate them, a
// UTF-8 byte-order mark is ignored, values after the first count are not read.
std::optional<std::vector<std::int16_t>> parseValues(const QByteArray &content, int count);

} // namespace settingsfile
