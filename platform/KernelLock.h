#pragma once

#include <QByteArray>
#include <QString>
#include <compare>

// A file or folder as the system knows it: two paths that reach the same one share it.
struct FileIdentity
{
    quint64 device = 0;
    quint64 file = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// A lock that the kernel holds for one open handle and lets go of when the handle is closed or the
// process ends, however it ends: nothing left on disk can keep it taken. Two handles on the same
// target exclude each other, even in one process.
class KernelLock
{
public:
    enum class Attempt
    {
        Taken,
        // Another handle holds it.
        Busy,
        // The system cannot lock it; error() tells why.
        Failed
    };

    // The lock of a folder: the folder itself where the system can lock a folder (nothing is
    // created in it), else a hidden file ".hangar-lock" in it, which stays.
    static KernelLock ofFolder(const QString& folder);
    // The lock of a regular file, created when missing. A link or a special file at the path is
    // refused: the file is written, and must not be anything else.
    static KernelLock ofFile(const QString& path);

    KernelLock(KernelLock&& other) noexcept;
    KernelLock& operator=(KernelLock&& other) noexcept;
    KernelLock(const KernelLock&) = delete;
    KernelLock& operator=(const KernelLock&) = delete;
    ~KernelLock();

    bool isOpen() const { return m_handle != invalidHandle; }
    // Why the target could not be opened, or why the last attempt failed.
    QString error() const { return m_error; }
    FileIdentity identity() const { return m_identity; }
    // Takes the lock without waiting.
    Attempt tryLock();
    // The first bytes of a lock file, at most maxBytes: another holder may have written anything.
    QByteArray read(qsizetype maxBytes) const;
    // Replaces a lock file's bytes; the lock itself never covers them, so others may read them.
    bool write(const QByteArray& bytes);

private:
    static constexpr qintptr invalidHandle = -1;
    KernelLock() = default;
    void close();

    qintptr m_handle = invalidHandle;
    FileIdentity m_identity;
    QString m_error;
};
