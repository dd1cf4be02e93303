#pragma once

#include <QLockFile>
#include <chrono>

// The lock file beside the settings file. A running window holds it for its whole run; a hangarctl
// command that changes the settings holds it from before it reads them until it has written them.
// A holder that died leaves a stale lock, which the next taker removes.
class SettingsLock
{
public:
    enum class Outcome
    {
        Taken,
        // A window, or any holder that is not hangarctl: it is not waited for.
        HeldByWindow,
        // Another hangarctl still held it when the patience ran out.
        HeldByCommand,
        // The folder cannot hold a lock file.
        Unavailable
    };

    explicit SettingsLock(const QString& settingsFile);

    // Takes the lock, waiting up to the patience while another hangarctl holds it.
    Outcome take(std::chrono::milliseconds patience);
    bool isTaken() const { return m_lock.isLocked(); }
    // The process that holds the lock, after take() found it held.
    qint64 holderProcess() const { return m_holder; }
    QString lockFile() const { return m_file; }

private:
    QString m_file;
    QLockFile m_lock;
    qint64 m_holder = 0;
};
