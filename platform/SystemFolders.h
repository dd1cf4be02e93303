#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The user's own folder under which programs keep their settings: the XDG configuration folder
// (~/.config) on Linux; the roaming application data folder (%APPDATA%) on Windows, which follows
// the user from machine to machine, where Qt's generic configuration folder is the local one.
QString userSettingsRoot();

// The registry key under which the simulator's installer records where it put the simulator, in
// the 32-bit view that a 32-bit installer writes to; nothing on a system without a registry,
// where the Wine prefixes each hold one of their own.
std::unique_ptr<QSettings> simulatorRegistryKey();
