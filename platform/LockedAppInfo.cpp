#include "LockedAppInfo.h"

#include <QDir>

LockedAppInfo::LockedAppInfo(QString executableFolder, AppVersion version)
    : m_executableFolder(std::move(executableFolder)), m_version(version)
{}

bool LockedAppInfo::anotherInstanceRunning()
{
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(
            QDir(m_executableFolder).filePath(QStringLiteral("Hangar.lock")));
        m_lock->setStaleLockTime(0);
    }
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return false;
    // Only a lock held by a live process means another copy; a folder that cannot hold a lock
    // file tells nothing, and refusing to start there would help no one.
    return m_lock->error() == QLockFile::LockFailedError;
}
