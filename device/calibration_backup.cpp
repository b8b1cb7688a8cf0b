#include "device/calibration_backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
    // Created exclusively: two writers of the same second never replace each other's file.
    for (int n = 1; n <= kMaxSuffix; ++n) {
        const QString path =
            stem + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".txt");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                continue;
            *error = file.errorString();
            return std::nullopt;
        }
        const QByteArray text = paramfile::format(parameters);
        if (file.write(text) != text.size() || !file.flush()) {
            *error = file.errorString();
            file.close();
            file.remove();
            return std::nullopt;
        }
        return path;
    }
    *error = QCoreApplication::translate("calibration", "%1 exists already").arg(stem + ".txt");
    return std::nullopt;
}

} // namespace calibration
