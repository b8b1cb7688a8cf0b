#include "serial/port_names.h"

#include <QFileInfo>

namespace portnames {

QString deviceFor(const QStringList &linkDirs, int number)
{
#ifdef Q_OS_WIN
    Q_UNUSED(linkDirs);
    return QStringLiteral("COM%1").arg(number);
#else
    for (const QString &dir : linkDirs) {
        const QFileInfo link(QStringLiteral("%1/ports/COM%2").arg(dir).arg(number));
        // The lock belongs to the real device, so two names for it cannot both open it.
        if (link.exists())
            return link.canonicalFilePath();
        // A link to an unplugged adapter must fail to open, not fall back to another port.
        if (link.isSymLink())
            return link.absoluteFilePath();
    }
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

} // namespace portnames
