#pragma once
// The copy of the module's parameters kept before a calibration writes
// anything, in the parameter file's format, so the old values are never lost.

#include "device/parameter_file.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace calibration {

// <data folder>/rv4820/backups, $XDG_DATA_HOME respected.
QString backupFolder();

// Saves into folder (made when missing) as station2-20261207-140305.txt, with
// -2, -3, ... added rather than replacing an earlier backup of the same second.
// Returns the file's path, or nothing with the reason in *error.
std::optional<QString> saveBackup(const QString &folder, const paramfile::Parameters &parameters,
                                  QString *error);

} // namespace calibration
