#pragma once

#include <QString>
#include <QStringList>

namespace portnames {

// Whether COM numbers lead through ports/COMn links (Linux) or are the
// system's own port names (Windows, which names its ports itself).
bool usesLinks();

// The link <dir>/ports/COMn that decides where "COM"n goes: the first one found,
// searching linkDirs in order; empty when there is none, and on Windows.
QString linkFor(const QStringList &linkDirs, int number);

// "COM"n on this host: its link when there is one (followed to the real device),
// else /dev/ttyS<n-1>. On Windows, "COM"n itself.
QString deviceFor(const QStringList &linkDirs, int number);

} // namespace portnames
