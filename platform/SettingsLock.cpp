#include "SettingsLock.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace {

QString lockFileOf(const QString& settingsFile)
{
    return settingsFile + QStringLiteral(".lock");
}

// Qt records the holder's executable name; the command line is the only holder worth waiting for.
bool isCommandLine(const QString& holderName)
{
    return QFileInfo(holderName)
               .completeBaseName()
               .compare(QLatin1String("hangarctl"), Qt::CaseInsensitive) == 0;
}

} // namespace

SettingsLock::SettingsLock(const QString& settingsFile)
    : m_file(lockFileOf(settingsFile)), m_lock(m_file)
{
    // A running window's lock never goes stale with age; only a dead holder's does.
    m_lock.setStaleLockTime(0);
}

SettingsLock::Outcome SettingsLock::take(std::chrono::milliseconds patience)
{
    if (m_lock.isLocked())
        return Outcome::Taken;
    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (m_lock.tryLock(0))
            return Outcome::Taken;
        if (m_lock.error() != QLockFile::LockFailedError)
            return Outcome::Unavailable;
        QString holderName;
        // The holder may let go between the two looks: then the next try takes the lock.
        if (m_lock.getLockInfo(&m_holder, nullptr, &holderName) && !isCommandLine(holderName))
            return Outcome::HeldByWindow;
        if (deadline.hasExpired())
            return Outcome::HeldByCommand;
        QThread::msleep(20);
    }
}
