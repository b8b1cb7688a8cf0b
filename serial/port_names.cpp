#include "serial/port_names.h"

#include <QFileInfo>

namespace portnames {

bool usesLinks()
{
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}

QString linkFor(const QStringList &linkDirs, int number)
{
    if (!usesLinks())
        return {};
    for (const QString &dir : linkDirs) {
        const QFileInfo link(QStringLiteral("%1/ports/COM%2").arg(dir).arg(number));
        // A dangling link decides too: COMn must not fall through to another device.
        if (link.exists() || link.isSymLink())
            return link.absoluteFilePath();
    }
    return {};
}

QString deviceFor(const QStringList &linkDirs, int number)
{
#ifdef Q_OS_WIN
    Q_UNUSED(linkDirs);
    return QStringLiteral("COM%1").arg(number);
#else
    const QString linkPath = linkFor(linkDirs, number);
    if (linkPath.isEmpty())
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    const QFileInfo link(linkPath);
    // The lock belongs to the real device, so two names for it cannot both open it.
    // A link to an unplugged adapter must fail to open, not fall back to another port.
    return link.exists() ? link.canonicalFilePath() : linkPath;
#endif
}

} // namespace portnames
