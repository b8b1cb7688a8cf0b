#include "app/settings_places.h"
#include "app/system_places.h"

#include <QStandardPaths>

namespace settingsplaces {

bool isSystemFolder(const QString &dir)
{
    return dir.startsWith(QStringLiteral("/usr/"));
}

QString userSettingsDir()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QLatin1Char('/') + kApplicationName;
}

} // namespace settingsplaces
