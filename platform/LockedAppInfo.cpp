#include "LockedAppInfo.h"

#include "SystemFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

LockedAppInfo::LockedAppInfo(QString executableFolder, QString installedFolder, AppVersion version)
    : m_executableFolder(std::move(executableFolder)),
      m_installedFolder(std::move(installedFolder)), m_version(version)
{}

bool LockedAppInfo::maySettingsLiveBesideExecutable() const
{
    const QFileInfo folder(m_executableFolder);
    // Root may write the installed copy's folder too, but settings have no place there.
    return folder.isDir() && folder.isWritable() &&
           folder.canonicalFilePath() != QFileInfo(m_installedFolder).canonicalFilePath();
}

QString LockedAppInfo::userConfigFolder() const
{
    // The window and hangarctl share one folder, whatever name each program gives itself.
    const QString folder = userSettingsRoot() + QStringLiteral("/Hangar");
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder);
}

QString LockedAppInfo::userDataFolder() const
{
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/Hangar"));
}

bool LockedAppInfo::takeInstanceLock(const QString& settingsFile)
{
    if (!m_lock)
        m_lock = std::make_unique<SettingsLock>(settingsFile);
    // A hangarctl command holds the lock for a moment only: it is waited for. A folder that cannot
    // hold a lock file tells nothing, and refusing to start there would help no one.
    const SettingsLock::Outcome outcome = m_lock->take(std::chrono::seconds(10));
    return outcome != SettingsLock::Outcome::HeldByWindow &&
           outcome != SettingsLock::Outcome::HeldByCommand;
}
