#include "device/calibration_backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace calibration {

namespace {
constexpr int kFirstValueByte = 3; // after station, function and byte count
constexpr int kMaxSuffix = 100;
} // namespace

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/rv4820/backups");
}

std::optional<std::array<int, paramfile::kValueCount>> parameterValues(const QByteArray &reply)
{
    std::array<int, paramfile::kValueCount> values{};
    if (reply.size() < kFirstValueByte + 2 * paramfile::kValueCount)
        return std::nullopt;
    for (int k = 0; k < paramfile::kValueCount; ++k) {
        const int at = kFirstValueByte + 2 * k;
        values.at(k) = static_cast<quint8>(reply[at]) * 256 + static_cast<quint8>(reply[at + 1]);
    }
    return values;
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
