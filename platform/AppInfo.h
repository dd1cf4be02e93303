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
    // Whether the executable's folder is the user's to keep files in: false for a folder the user
    // cannot write and for the folder of an installed copy.
    virtual bool executableFolderWritable() const = 0;
    // The user's own folder for the program's settings, created when missing.
    virtual QString userConfigFolder() const = 0;
    // The user's own folder for the program's data; it may not exist yet.
    virtual QString userDataFolder() const = 0;
    // Whether another copy of the program is running on the same settings file.
    virtual bool anotherInstanceRunning(const QString& settingsFile) = 0;
};
