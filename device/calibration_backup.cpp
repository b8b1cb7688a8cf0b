#include "device/calibration_backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace calibration {

namespace {
constexpr int kMaxSuffix = 100;
} // namespace

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/rv4820/backups");
}

std::optional<QString> saveBackup(const QString &folder, const paramfile::Parameters &parameters,
                                  QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QCoreApplication::translate("calibration", "the folder %1 cannot be made")
                     .arg(QDir::toNativeSeparators(folder));
        return std::nullopt;
    }
    const QString stem =
        folder + QStringLiteral("/station%1-%2")
                     .arg(parameters.station)
                     .arg(parameters.readAt.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = stem + QStringLiteral(".txt");
    for (int n = 2; QFileInfo::exists(path) && n <= kMaxSuffix; ++n)
        path = stem + QStringLiteral("-%1.txt").arg(n);
    if (QFileInfo::exists(path)) {
        *error = QCoreApplication::translate("calibration", "%1 exists already").arg(path);
        return std::nullopt;
    }
    if (!paramfile::save(path, parameters, error))
        return std::nullopt;
    return path;
}

} // namespace calibration
