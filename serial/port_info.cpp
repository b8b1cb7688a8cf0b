#include "serial/port_info.h"

#include "serial/port_devices.h"
#include "serial/port_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

namespace portinfo {

namespace {

const QString kArrow = QStringLiteral(" → ");

// Where "COM"n leads: the deciding link (or none), the path it names, and the
// device that an opening goes to.
struct Route {
    QString link;
    QString target; // for a dangling link, the missing device it names
    QString device;
};

Route routeOf(const QStringList &linkDirs, int number)
{
    Route route;
    route.device = portnames::deviceFor(linkDirs, number);
    route.target = route.device;
    route.link = portnames::linkFor(linkDirs, number);
    const QFileInfo link(route.link);
    if (!route.link.isEmpty() && !link.exists() && link.isSymLink())
        route.target = link.symLinkTarget();
    return route;
}

QString routeText(const Route &route, int number)
{
    QString text = QStringLiteral("COM%1").arg(number) + kArrow;
    if (!route.link.isEmpty())
        text += route.link + kArrow;
    return text + route.target;
}

QString permissionDenied()
{
    return QCoreApplication::translate("portinfo",
                                       "permission denied. Add your user to the dialout group "
                                       "(sudo usermod -aG dialout $USER), then log in again");
}

const Device *find(const QList<Device> &devices, const QString &path)
{
    for (const Device &device : devices) {
        if (device.path == path)
            return &device;
    }
    return nullptr;
}

QString reported(const Device &device)
{
    QStringList parts;
    for (const QString &part : {device.description, device.manufacturer}) {
        if (!part.isEmpty())
            parts << part;
    }
    if (!device.serialNumber.isEmpty())
        parts << QCoreApplication::translate("portinfo", "serial %1").arg(device.serialNumber);
    if (!device.accessible)
        parts << permissionDenied();
    return parts.isEmpty() ? QCoreApplication::translate("portinfo", "no details reported")
                           : parts.join(QStringLiteral(", "));
}

// What is known of a device the system does not list.
QString unlisted(const QString &path)
{
    // Many PCs have /dev/ttyS entries with no port behind them; the system lists none of those.
    return existsUnlisted(path)
               ? QCoreApplication::translate("portinfo", "not a detected serial port")
               : QCoreApplication::translate("portinfo", "no such device");
}

QString failureText(const PortState &state)
{
    switch (state.failure) {
    case Failure::None:
        return state.open ? QCoreApplication::translate("portinfo", "open, %1").arg(state.settings)
                          : QCoreApplication::translate("portinfo", "closed");
    case Failure::PermissionDenied:
        return QCoreApplication::translate("portinfo", "could not be opened: %1")
            .arg(permissionDenied());
    case Failure::Busy:
        return QCoreApplication::translate("portinfo",
                                           "could not be opened: busy, held by another program");
    case Failure::NoSuchDevice:
        return QCoreApplication::translate("portinfo", "could not be opened: no such device");
    case Failure::WentAway: return QCoreApplication::translate("portinfo", "the device went away");
    case Failure::Other: break;
    }
    return QCoreApplication::translate("portinfo", "could not be opened: %1").arg(state.systemText);
}

} // namespace

Failure failureOf(QSerialPort::SerialPortError error, bool accessible, bool present)
{
    if (error != QSerialPort::NoError && !present)
        return Failure::NoSuchDevice;
    switch (error) {
    case QSerialPort::NoError: return Failure::None;
    case QSerialPort::DeviceNotFoundError: return Failure::NoSuchDevice;
    case QSerialPort::PermissionError:
        return accessible ? Failure::Busy : Failure::PermissionDenied;
    case QSerialPort::OpenError: return Failure::Busy;
    default: return Failure::Other;
    }
}

QString entryTip(const QStringList &linkDirs, int number, const QList<Device> &devices)
{
    const Route route = routeOf(linkDirs, number);
    const Device *device = find(devices, route.device);
    return routeText(route, number) +
           QStringLiteral(" (%1)").arg(device ? reported(*device) : unlisted(route.device));
}

QString entryDevice(const QStringList &linkDirs, int number, const QList<Device> &devices)
{
    const Route route = routeOf(linkDirs, number);
    const Device *device = find(devices, route.device);
    QString about = device ? device->description : unlisted(route.device);
    if (about.isEmpty())
        about = reported(*device);
    return QStringLiteral("%1 (%2)").arg(route.target, about);
}

QString stateTip(const QStringList &linkDirs, const PortState &state)
{
    const Route route = routeOf(linkDirs, state.number);
    const bool tried = state.open || state.failure != Failure::None;
    // The link may have changed since the opening: tell both, the new one applies later.
    if (!tried || state.device.isEmpty() || state.device == route.device ||
        state.device == route.target)
        return routeText(route, state.number) + QStringLiteral(": ") + failureText(state);
    return QStringLiteral("COM%1").arg(state.number) + kArrow + state.device +
           QStringLiteral(": ") + failureText(state) +
           QCoreApplication::translate("portinfo", "; from the next pick or Save of COM%1: ")
               .arg(state.number) +
           routeText(route, state.number);
}

QString deviceTitle(const Device &device)
{
    return QStringLiteral("%1 (%2)").arg(device.path, reported(device));
}

QString linkTarget(const Device &device)
{
    return device.byIdPath.isEmpty() ? device.path : device.byIdPath;
}

} // namespace portinfo
