#include "app/settings_places.h"

#include "app/system_places.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace settingsplaces {

bool canWriteIn(const QString &dir)
{
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".rv4820-probe-XXXXXX")));
    return probe.open();
}

bool isInstalled(const QString &programDir)
{
    return isSystemFolder(QDir::cleanPath(QDir(programDir).absolutePath()));
}

Places placesFor(const QString &programDir, const QString &userConfigDir)
{
    if (userConfigDir.isEmpty() || (!isInstalled(programDir) && canWriteIn(programDir)))
        return {{programDir}};
    return {{userConfigDir, programDir}};
}

QString findFile(const QStringList &dirs, const QString &name)
{
    for (const QString &dir : dirs) {
        QString path = QDir(dir).filePath(name);
        if (QFileInfo::exists(path))
            return path;
    }
    return QDir(dirs.value(0)).filePath(name);
}

} // namespace settingsplaces
