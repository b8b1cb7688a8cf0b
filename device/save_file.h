#pragma once
// Saving a file whole or not at all, with the system's reason when it fails.

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace device {

// Commits file after flushing it: Qt 6.4's commit() drops the error of flushing
// its own buffer, so a full disk would pass for a save. On failure the target
// is left as it was and *error holds the system's reason.
bool commitSaveFile(QSaveFile &file, QString *error);

// Writes bytes to path through a QSaveFile, committed as above.
bool saveWhole(const QString &path, const QByteArray &bytes, QString *error);

} // namespace device
