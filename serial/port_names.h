#pragma once

#include <QString>

namespace portnames {

// "COM"n on this host: <programDir>/ports/COMn when it exists (followed to the
// real device), else /dev/ttyS<n-1>. On Windows, "COM"n itself.
QString deviceFor(const QString &programDir, int number);

} // namespace portnames
