#pragma once
// Where the settings live, as each system has it: the folders an installation
// owns, and the user's own folder for the settings. One source file per system.

#include <QString>

namespace settingsplaces {

// dir (absolute, '/' separators) lies in a folder that installed programs own:
// /usr on Linux; Program Files on Windows, which only an administrator may
// write and which an upgrade overwrites.
bool isSystemFolder(const QString &dir);

// The user's folder for the settings: ~/.config/rv4820 on Linux, %APPDATA%\rv4820
// (roaming, as settings are) on Windows; empty when the system names none.
QString userSettingsDir();

} // namespace settingsplaces
