#include "app/settings_places.h"
#include "app/system_places.h"

#include <QDir>

namespace settingsplaces {

namespace {
QString folderOf(const char *variable)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(value));
}
} // namespace

bool isSystemFolder(const QString &dir)
{
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString programs = folderOf(variable);
        if (!programs.isEmpty() && dir.startsWith(programs + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString userSettingsDir()
{
    const QString appData = folderOf("APPDATA");
    return appData.isEmpty() ? QString() : appData + QLatin1Char('/') + kApplicationName;
}

} // namespace settingsplaces
