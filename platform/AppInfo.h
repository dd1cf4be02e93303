#pragma once

#include <QString>

struct AppVersion
{
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// What the program asks of the platform about itself.
class AppInfo
{
public:
    virtual ~AppInfo() = default;
    virtual QString executableFolder() const = 0;
    virtual AppVersion version() const = 0;
    // Whether the settings file may live beside the executable: false for a folder the user cannot
    // write and for the folder of an installed copy, even where root could write there.
    virtual bool maySettingsLiveBesideExecutable() const = 0;
    // The user's own folder for the program's settings, created when missing.
    virtual QString userConfigFolder() const = 0;
    // The user's own folder for the program's data; it may not exist yet.
    virtual QString userDataFolder() const = 0;
    // Takes the lock that keeps a second copy of the program off the settings file, and holds it
    // for this object's life. False when another copy holds it.
    virtual bool takeInstanceLock(const QString& settingsFile) = 0;
};
