#pragma once

#include "KernelLock.h"

#include <chrono>
#include <memory>

// The lock of one folder, held by the kernel (KernelLock.h). Holders in this process share it, so
// that a function that takes it may call another that takes it again; other processes wait.
class FolderLock
{
public:
    enum class Outcome
    {
        Taken,
        // Another process still held it when the patience ran out.
        Held,
        // The folder cannot be opened or locked; error() tells why.
        Failed
    };

    // Opens the folder's lock without taking it.
    explicit FolderLock(const QString& folder);

    QString folder() const { return m_folder; }
    bool isOpen() const { return m_own.isOpen() || m_shared != nullptr; }
    FileIdentity identity() const { return m_identity; }
    QString error() const { return m_error; }
    // Takes the lock, waiting until the deadline while another process holds it; held until this
    // object and every other holder in this process are gone.
    Outcome take(std::chrono::steady_clock::time_point deadline);

    // A mark that every holder in this process sees and that lasts only while the lock is held:
    // what the holders know of the folder that no other process can change meanwhile. False
    // until the lock is taken.
    bool marked() const { return m_shared != nullptr && m_shared->marked; }
    void setMarked(bool marked);

private:
    struct Hold
    {
        KernelLock lock;
        bool marked = false;
    };

    QString m_folder;
    KernelLock m_own;
    FileIdentity m_identity;
    QString m_error;
    std::shared_ptr<Hold> m_shared;
};
