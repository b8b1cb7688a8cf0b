#pragma once
// What the system reports of its serial devices: the one place that knows how
// each system lists them (sysfs on Linux, the port list on Windows).

#include "serial/port_info.h"

namespace portinfo {

// A device file that the system does not list as a serial port, such as a
// /dev/ttyS entry with no UART behind it. Windows has none.
bool existsUnlisted(const QString &path);

} // namespace portinfo
