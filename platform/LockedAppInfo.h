#pragma once

#include "AppInfo.h"

#include <QLockFile>
#include <memory>

// Application information of the running program. The single-instance check holds a lock file in
// the executable's folder for the life of this object, so two copies that share one settings file
// cannot both run.
class LockedAppInfo : public AppInfo
{
public:
    LockedAppInfo(QString executableFolder, AppVersion version);

    QString executableFolder() const override { return m_executableFolder; }
    AppVersion version() const override { return m_version; }
    bool anotherInstanceRunning() override;

private:
    QString m_executableFolder;
    AppVersion m_version;
    std::unique_ptr<QLockFile> m_lock;
};
