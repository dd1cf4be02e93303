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
    virtual bool anotherInstanceRunning() = 0;
};
