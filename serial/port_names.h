#pragma once

#include <QString>
#include <QStringList>

namespace portnames {

// "COM"n on this host: the first <linkDir>/ports/COMn of linkDirs, taken in
// order, that is a file or a link (followed to the real device), else
// /dev/ttyS<n-1>. New links belong in the first of linkDirs. On Windows, "COM"n itself.
QString deviceFor(const QStringList &linkDirs, int number);

} // namespace portnames
