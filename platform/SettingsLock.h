#pragma once

#include "KernelLock.h"

#include <chrono>
#include <optional>

// The lock beside the settings file, "<file>.lock", where a link to the settings file leads. A
// running window holds it for its whole run; a hangarctl command that changes the settings holds
// it from before it reads them until it has written them. The kernel holds the lock, so a holder
// that died holds nothing, whatever the file still says; the file's bytes only tell others who
// holds it: its process number, then its program's name.
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
    bool isTaken() const { return m_lock.has_value(); }
    // The process that holds the lock, after take() found it held; 0 when it did not say.
    qint64 holderProcess() const { return m_holder; }
    QString lockFile() const { return m_file; }

private:
    QString m_file;
    std::optional<KernelLock> m_lock;
    qint64 m_holder = 0;
};
