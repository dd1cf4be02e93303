#include "SwitchLocks.h"

#include "FileCommit.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// A history that cannot be made here is not locked: its keeping fails, and says why, when needed.
bool historyMade(const QString& folder, FileSystem& fileSystem)
{
    if (QFileInfo(folder).isDir())
        return true;
    QString ignored;
    if (!makeFolder(folder, &ignored))
        return false;
    if (fileSystem.syncFolder(QFileInfo(folder).path(), &ignored))
        return true;
    // Left, the folder would pass for one whose name is on disk.
    QDir().rmdir(folder);
    return false;
}

} // namespace

bool SwitchLocks::take(const QStringList& folders, const QString& historyFolder,
                       FileSystem& fileSystem, QString* message)
{
    std::vector<FolderLock> wanted;
    const auto add = [&](const QString& folder) {
        FolderLock lock(folder);
        if (lock.isOpen())
            wanted.push_back(std::move(lock));
    };
    for (const QString& folder : folders) {
        if (!folder.isEmpty())
            add(folder);
    }
    if (!historyFolder.isEmpty() && historyMade(historyFolder, fileSystem))
        add(historyFolder);
    std::sort(wanted.begin(), wanted.end(),
              [](const FolderLock& a, const FolderLock& b) { return a.identity() < b.identity(); });
    wanted.erase(std::unique(wanted.begin(), wanted.end(),
                             [](const FolderLock& a, const FolderLock& b) {
                                 return a.identity() == b.identity();
                             }),
                 wanted.end());
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (FolderLock& lock : wanted) {
        if (lock.take(deadline) == FolderLock::Outcome::Held) {
            *message = tr("Another copy of Hangar has been changing the files in %1 for more than "
                          "%2 seconds. No file was changed.")
                           .arg(QDir::toNativeSeparators(QDir::cleanPath(lock.folder())))
                           .arg(patience.count());
            return false;
        }
    }
    std::move(wanted.begin(), wanted.end(), std::back_inserter(m_locks));
    return true;
}

bool SwitchLocks::settled() const
{
    return !m_locks.empty() && std::all_of(m_locks.begin(), m_locks.end(),
                                           [](const FolderLock& l) { return l.marked(); });
}

void SwitchLocks::setSettled(bool settled)
{
    for (FolderLock& lock : m_locks)
        lock.setMarked(settled);
}
