#pragma once

#include "FileSystem.h"
#include "FolderLock.h"

#include <QCoreApplication>
#include <QStringList>
#include <vector>

// The locks that keep every other copy of Hangar, whatever its settings file, off the folders of a
// switch and off its history while this one completes an interrupted switch, checks, switches and
// prunes: recovery under them only ever meets the temporaries of a process that is gone. The
// kernel holds them (FolderLock.h), so a killed copy holds nothing; they are let go when this
// object goes.
class SwitchLocks
{
    Q_DECLARE_TR_FUNCTIONS(SwitchLocks)

public:
    // How long another copy's operation is waited for.
    static constexpr std::chrono::seconds patience{10};

    // Takes the lock of each given folder that exists, a folder reached by two paths once, and of
    // the history's folder (none when empty; made when missing, and its new name flushed to disk
    // through the file system, so that every copy locks the same folder), in the order of their
    // identities on disk, which every copy follows: two copies never each hold what the other waits
    // for. Locks taken already, here or elsewhere in this process, are kept. False, with the
    // message naming the folder, when another process holds one for longer than the patience. A
    // folder the system cannot lock is passed over: that tells nothing, as a settings folder that
    // cannot hold a lock file.
    bool take(const QStringList& folders, const QString& historyFolder, FileSystem& fileSystem,
              QString* message);
    // Lets go of every lock before this object goes (a command whose work goes on without them).
    void release() { m_locks.clear(); }

    // Whether what a crash left in the locked folders was put in order while this process has held
    // every one of them, nothing left waiting since: recovery runs once for all the holders of
    // one operation. Lost with the locks.
    bool settled() const;
    void setSettled(bool settled);

private:
    std::vector<FolderLock> m_locks;
};
