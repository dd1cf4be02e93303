#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

// What was found of the simulator in one Wine prefix, or on Windows itself.
struct Fs9Install
{
    QString prefix;                // the Wine prefix; on Windows, the registry key
    QString mainFolder;            // the folder of FS9.cfg; empty when not found
    bool mainFileFound = false;    // mainFolder holds FS9.cfg
    QString simulatorFolder;       // the folder of fs9.exe and Scenery.cfg; empty when not found
    QString simulatorFolderSource; // how it was found

    bool complete() const { return !mainFolder.isEmpty() && !simulatorFolder.isEmpty(); }
};

// The Wine prefixes of the user whose home folder is given, in this order: $WINEPREFIX, ~/.wine,
// then those of Lutris (~/Games/*), Bottles (~/.local/share/bottles/bottles/*) and PlayOnLinux
// (~/.PlayOnLinux/wineprefix/*). Only folders that hold drive_c, each once.
QStringList winePrefixes(const QString& home, const QProcessEnvironment& environment);

// Looks for the simulator in each of those prefixes: its main configuration folder under
// drive_c/users/*/AppData/Roaming/Microsoft/FS9 or .../Application Data/Microsoft/FS9, and its
// own folder from the "EXE Path" the installer wrote in the prefix's system.reg (also under
// Wow6432Node), else from the usual install folders. One entry per prefix.
QList<Fs9Install> detectFs9(const QString& home, const QProcessEnvironment& environment);

// The install whose folders "hangarctl detect --apply" stores and the window's folder pickers
// open at: the first that holds both folders; nothing when none does.
std::optional<Fs9Install> chosenInstall(const QList<Fs9Install>& installs);

// The simulator as Windows knows it: its own folder from the "EXE Path" value of its registry key
// (the installer's, read from the 32-bit view since FS9 is a 32-bit program; some installers
// store the program file itself), and the folder of FS9.cfg under the user's roaming application
// data folder (%APPDATA%\Microsoft\FS9). keyName is what the key is shown as.
Fs9Install detectInstalledFs9(const QSettings& key, const QString& keyName,
                              const QString& roamingFolder);

// Where this system keeps the simulator: on Windows the install its registry records, elsewhere
// one entry per Wine prefix of the user. hangarctl's detect and the window's folder pickers both
// ask here.
QList<Fs9Install> detectFs9OnThisSystem();
