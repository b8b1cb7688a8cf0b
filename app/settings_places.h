#pragma once
// Where the settings files and the ports/ links live. A program directory the
// user can write (a build tree, a copied folder) holds them all, as it always
// has. An installed one cannot be written, so the user's configuration
// directory is searched before it and takes what Save writes.

#include <QString>
#include <QStringList>

namespace settingsplaces {

// The name of the user's settings folder: ~/.config/rv4820, %APPDATA%\rv4820.
inline const QString kApplicationName = QStringLiteral("rv4820");

struct Places {
    QStringList readDirs; // comm.set, ModSet.set and ports/COMn: the first that has it
    // Where Save writes comm.set and new links go: searched first, so read back first.
    QString writeDir() const { return readDirs.value(0); }
};

// A copy installed under /usr (by the package or to a system prefix) or under
// Program Files: its files belong to the installation, whose next upgrade would
// overwrite them, so it is never written, not even by root or an administrator.
bool isInstalled(const QString &programDir);

// userConfigDir may be empty (no home directory): the program directory is then
// used as before, and a Save there fails with its usual warning.
Places placesFor(const QString &programDir, const QString &userConfigDir);

// The first of dirs that holds name, else name in the first of dirs.
QString findFile(const QStringList &dirs, const QString &name);

// A real try: creates and removes a file in dir. Permission bits alone miss
// read-only mounts and access rules.
bool canWriteIn(const QString &dir);

} // namespace settingsplaces
