#include "FolderLock.h"

#include <QMutex>
#include <QThread>
#include <map>

namespace {

// The folder locks this process holds, by folder: a second handle of its own would wait for the
// first for ever.
QMutex heldMutex;
std::map<FileIdentity, std::weak_ptr<void>> held;

} // namespace

FolderLock::FolderLock(const QString& folder)
    : m_folder(folder), m_own(KernelLock::ofFolder(folder)), m_identity(m_own.identity()),
      m_error(m_own.error())
{}

FolderLock::Outcome FolderLock::take(std::chrono::steady_clock::time_point deadline)
{
    if (m_shared)
        return Outcome::Taken;
    if (!m_own.isOpen())
        return Outcome::Failed;
    // Short waits at first: a switch of small files takes milliseconds.
    std::chrono::milliseconds pause(1);
    for (;;) {
        {
            const QMutexLocker locker(&heldMutex);
            auto& holder = held[m_identity];
            m_shared = std::static_pointer_cast<Hold>(holder.lock());
            if (m_shared)
                return Outcome::Taken;
            switch (m_own.tryLock()) {
            case KernelLock::Attempt::Taken:
                m_shared = std::make_shared<Hold>(Hold{std::move(m_own)});
                holder = m_shared;
                return Outcome::Taken;
            case KernelLock::Attempt::Failed:
                m_error = m_own.error();
                return Outcome::Failed;
            case KernelLock::Attempt::Busy:
                break;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return Outcome::Held;
        QThread::msleep(static_cast<unsigned long>(pause.count()));
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

void FolderLock::setMarked(bool marked)
{
    if (m_shared)
        m_shared->marked = marked;
}
