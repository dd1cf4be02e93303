#include "LockedAppInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

LockedAppInfo::LockedAppInfo(QString executableFolder, QString installedFolder, AppVersion version)
    : m_executableFolder(std::move(executableFolder)),
      m_installedFolder(std::move(installedFolder)), m_version(version)
{}

bool LockedAppInfo::executableFolderWritable() const
{
    const QFileInfo folder(m_executableFolder);
    // Root may write the installed copy's folder too, but settings have no place there.
    const QFileInfo installed(m_installedFolder);
    if (installed.exists() && folder.canonicalFilePath() == installed.canonicalFilePath())
        return false;
    return folder.isDir() && folder.isWritable();
}

QString LockedAppInfo::userConfigFolder() const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder);
}

QString LockedAppInfo::userDataFolder() const
{
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool LockedAppInfo::anotherInstanceRunning(const QString& settingsFile)
{
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(settingsFile + QStringLiteral(".lock"));
        // A running copy's lock never goes stale with age; only a dead owner's does.
        m_lock->setStaleLockTime(0);
    }
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return false;
    // Only a lock held by a live process means another copy; a folder that cannot hold a lock
    // file tells nothing, and refusing to start there would help no one.
    return m_lock->error() == QLockFile::LockFailedError;
}
