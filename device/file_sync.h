#pragma once
// Pushing a file's written data to the disk: the one place that knows how
// each system does it.

#include <QString>

namespace device {

// True when the data written to fd is on the disk (or the file system cannot
// say, as for a pipe); otherwise false with the system's reason.
bool syncToDisk(int fd, QString *reason);

} // namespace device
