#pragma once

#include <QString>
#include <QStringList>

namespace portnames {

// The link <dir>/ports/COMn that decides where "COM"n goes: the first one found,
// searching linkDirs in order; empty when there is none.
QString linkFor(const QStringList &linkDirs, int number);

// "COM"n on this host: its link when there is one (followed to the real device),
// else /dev/ttyS<n-1>. On Windows, "COM"n itself.
QString deviceFor(const QStringList &linkDirs, int number);

} // namespace portnames
