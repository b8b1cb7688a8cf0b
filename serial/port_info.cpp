#include "serial/port_info.h"

#include "serial/port_names.h"

#include <QDir>
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
#ifndef Q_OS_WIN
    route.link = portnames::linkFor(linkDirs, number);
    const QFileInfo link(route.link);
    if (!route.link.isEmpty() && !link.exists() && link.isSymLink())
        route.target = link.symLinkTarget();
#endif
    return route;
}

QString routeText(const Route &route, int number)
{
    QString text = QStringLiteral("COM%1").arg(number) + kArrow;
    if (!route.link.isEmpty())
        text += route.link + kArrow;
    return text + route.target;
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
        parts << QStringLiteral("serial ") + device.serialNumber;
    return parts.isEmpty() ? QStringLiteral("no details reported")
                           : parts.join(QStringLiteral(", "));
}

// What is known of a device the system does not list.
QString unlisted(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return QStringLiteral("no such device");
#else
    // Many PCs have /dev/ttyS entries with no port behind them; the system lists none of those.
    return QFileInfo::exists(path) ? QStringLiteral("not a detected serial port")
                                   : QStringLiteral("no such device");
#endif
}

QString failureText(const PortState &state)
{
    switch (state.failure) {
    case Failure::None:
        return state.open ? QStringLiteral("open, ") + state.settings : QStringLiteral("closed");
    case Failure::PermissionDenied:
        return QStringLiteral("could not be opened: permission denied. Add your user to the "
                              "dialout group (sudo usermod -aG dialout $USER), then log in again");
    case Failure::Busy: return QStringLiteral("could not be opened: busy, held by another program");
    case Failure::NoSuchDevice: return QStringLiteral("could not be opened: no such device");
    case Failure::WentAway: return QStringLiteral("the device went away");
    case Failure::Other: break;
    }
    return QStringLiteral("could not be opened: ") + state.systemText;
}

} // namespace

QList<Device> detectedDevices()
{
    QHash<QString, QString> byId; // device -> its stable name
    const QDir dir(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &name :
         dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        byId.insert(name.canonicalFilePath(), name.absoluteFilePath());
    QList<Device> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        const QString path = info.portName();
#else
        const QString path = info.systemLocation();
#endif
        devices.append(
            {path, info.description(), info.manufacturer(), info.serialNumber(), byId.value(path)});
    }
    return devices;
}

Failure failureOf(QSerialPort::SerialPortError error, bool accessible)
{
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
           QStringLiteral("; from the next pick or Save of COM%1: ").arg(state.number) +
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
