#include "serial/port_devices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

namespace portinfo {

#ifdef Q_OS_LINUX
namespace {
QString firstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine(256)).trimmed();
}

// The USB device above a tty's device folder describes the adapter.
void addUsbDetails(QString dir, const QString &root, Device &device)
{
    for (; dir.startsWith(root) && dir.size() > root.size(); dir = QFileInfo(dir).path()) {
        if (QFileInfo::exists(dir + QStringLiteral("/idVendor"))) {
            device.description = firstLine(dir + QStringLiteral("/product"));
            device.manufacturer = firstLine(dir + QStringLiteral("/manufacturer"));
            device.serialNumber = firstLine(dir + QStringLiteral("/serial"));
            return;
        }
    }
}
} // namespace

QList<Device> detectedDevices(const QString &sysClassTty, const QString &devDir)
{
    const QString dev = QDir(devDir).canonicalPath();
    QHash<QString, QString> byId; // device -> its stable name
    const QDir ids(dev + QStringLiteral("/serial/by-id"));
    for (const QFileInfo &name :
         ids.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        byId.insert(name.canonicalFilePath(), name.absoluteFilePath());
    // sysfs trees end at the folder above class/: device links never leave it.
    const QString root = QDir(sysClassTty + QStringLiteral("/../..")).canonicalPath();
    QList<Device> devices;
    const QDir ttys(sysClassTty);
    for (const QString &name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QFileInfo link(ttys.filePath(name) + QStringLiteral("/device"));
        // Consoles and pseudo-terminals have no device; a serial line whose
        // UART type is 0 has no port behind it.
        if (!link.exists() || firstLine(ttys.filePath(name) + QStringLiteral("/type")) == "0")
            continue;
        Device device;
        device.path = dev + QLatin1Char('/') + name;
        addUsbDetails(link.canonicalFilePath(), root, device);
        device.byIdPath = byId.value(device.path);
        const QFileInfo file(device.path);
        device.accessible = file.isReadable() && file.isWritable();
        devices.append(device);
    }
    return devices;
}

bool existsUnlisted(const QString &path)
{
    return QFileInfo::exists(path);
}
#else
QList<Device> detectedDevices(const QString &, const QString &)
{
    QList<Device> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        const QString path = info.portName();
#else
        const QString path = info.systemLocation();
#endif
        devices.append(
            {path, info.description(), info.manufacturer(), info.serialNumber(), QString()});
    }
    return devices;
}

// Windows lists every port it has; a COM name it does not list is no device.
bool existsUnlisted(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return false;
#else
    return QFileInfo::exists(path);
#endif
}
#endif

} // namespace portinfo
