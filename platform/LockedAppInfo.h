#pragma once

#include "AppInfo.h"
#include "SettingsLock.h"

#include <memory>

// Application information of the running program. The single-instance check holds a lock file
// beside the settings file for the life of this object, so two copies that share one settings
// file cannot both run.
class LockedAppInfo : public AppInfo
{
public:
    // installedFolder is where an installed copy's executable lives.
    LockedAppInfo(QString executableFolder, QString installedFolder, AppVersion version);

    QString executableFolder() const override { return m_executableFolder; }
    AppVersion version() const override { return m_version; }
    bool maySettingsLiveBesideExecutable() const override;
    QString userConfigFolder() const override;
    QString userDataFolder() const override;
    bool takeInstanceLock(const QString& settingsFile) override;

private:
    QString m_executableFolder;
    QString m_installedFolder;
    AppVersion m_version;
    std::unique_ptr<SettingsLock> m_lock;
};
