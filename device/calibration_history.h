#pragma once
// calibrations.jsonl: every check, adjustment and restore, one JSON object a
// line, only ever appended to. Each line carries the SHA-256 of the line before
// it ("prev") and its place ("seq"), so an edited or removed line shows.

#include <QJsonObject>
#include <QString>

namespace calibration {

QString historyPath(const QString &backupFolder);

// Adds entry as the next line, with "seq" and "prev" filled in, and notes the
// last line's place and hash beside the file (<path>.head), so that lines
// removed from the end show too.
bool appendHistory(const QString &path, QJsonObject entry, QString *error);

struct HistoryVerdict {
    bool whole = false;
    int entries = 0;    // lines that follow the chain, from the first
    int brokenLine = 0; // 1-based; 0 when whole
    QString text;       // for the operator
};
HistoryVerdict verifyHistory(const QString &path);

} // namespace calibration
