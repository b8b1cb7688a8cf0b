#pragma once
// What the operator is told about the COM numbers: where each one leads, what
// the system reports of that device, and why the port in force is not open.
// Pure functions of the link folders and a device list the caller supplies.

#include <QList>
#include <QSerialPort>
#include <QString>
#include <QStringList>

namespace portinfo {

// One serial device as the system reports it.
struct Device {
    QString path; // /dev/ttyUSB0; on Windows the port name, COM3
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString byIdPath;       // its stable /dev/serial/by-id/... name, when there is one
    bool accessible = true; // this user may read and write it
};

// The serial devices the system detects now, each with its by-id name. On Linux
// read from sysfs and /dev without opening any device: an opening toggles the
// modem lines (on RS-485, RTS keys the transmitter) and fails on a port in use.
QList<Device> detectedDevices(const QString &sysClassTty = QStringLiteral("/sys/class/tty"),
                              const QString &devDir = QStringLiteral("/dev"));

// Why a port is not open although it was meant to be.
enum class Failure { None, PermissionDenied, Busy, NoSuchDevice, WentAway, Other };

// accessible: the device file can be read and written by this user; present:
// it exists at all. Qt reports a refused permission and a port held by another
// program alike, and a missing device file can come as either.
Failure failureOf(QSerialPort::SerialPortError error, bool accessible, bool present = true);

struct PortState {
    int number = 1;
    bool open = false;
    QString device;   // what the last opening went to
    QString settings; // "19200,N,8,1"
    Failure failure = Failure::None;
    QString systemText; // the system's words, told for Failure::Other
};

// "COM4 → <dir>/ports/COM4 → /dev/ttyUSB0 (FT232R USB UART, FTDI, serial A50285BI)"
QString entryTip(const QStringList &linkDirs, int number, const QList<Device> &devices);
// The device part alone, shorter, for the opened list: "/dev/ttyUSB0 (FT232R USB UART)"
QString entryDevice(const QStringList &linkDirs, int number, const QList<Device> &devices);
// "COM4 → /dev/ttyUSB0: open, 19200,N,8,1", or why it is not open.
QString stateTip(const QStringList &linkDirs, const PortState &state);

// A device as listed for linking, and what the link should point at.
QString deviceTitle(const Device &device);
QString linkTarget(const Device &device);

} // namespace portinfo
