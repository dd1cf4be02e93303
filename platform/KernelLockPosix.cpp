#include "KernelLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int descriptor(qintptr handle)
{
    return static_cast<int>(handle);
}

} // namespace

KernelLock KernelLock::ofFolder(const QString& folder)
{
    // flock() locks a folder opened for reading as it locks a file: no lock file is needed.
    KernelLock lock;
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        lock.m_error = qt_error_string(errno);
        return lock;
    }
    struct stat status
    {
    };
    ::fstat(fd, &status);
    lock.m_handle = fd;
    lock.m_identity = {quint64(status.st_dev), quint64(status.st_ino)};
    return lock;
}

KernelLock KernelLock::ofFile(const QString& path)
{
    KernelLock lock;
    // Not blocking on a FIFO, not following a link another program put there.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        lock.m_error = qt_error_string(errno);
        return lock;
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        lock.m_error = QStringLiteral("%1 is not a regular file.").arg(path);
        ::close(fd);
        return lock;
    }
    lock.m_handle = fd;
    lock.m_identity = {quint64(status.st_dev), quint64(status.st_ino)};
    return lock;
}

void KernelLock::close()
{
    if (isOpen())
        ::close(descriptor(m_handle));
    m_handle = invalidHandle;
}

KernelLock::Attempt KernelLock::tryLock()
{
    if (!isOpen())
        return Attempt::Failed;
    int result = 0;
    do {
        result = ::flock(descriptor(m_handle), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return Attempt::Taken;
    if (errno == EWOULDBLOCK)
        return Attempt::Busy;
    m_error = qt_error_string(errno);
    return Attempt::Failed;
}

QByteArray KernelLock::read(qsizetype maxBytes) const
{
    QByteArray bytes(maxBytes, Qt::Uninitialized);
    const ssize_t got =
        isOpen() ? ::pread(descriptor(m_handle), bytes.data(), bytes.size(), 0) : -1;
    bytes.resize(got > 0 ? got : 0);
    return bytes;
}

bool KernelLock::write(const QByteArray& bytes)
{
    const int fd = descriptor(m_handle);
    if (!isOpen() || ::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, bytes.constData(), bytes.size(), 0) != bytes.size()) {
        m_error = qt_error_string(errno);
        return false;
    }
    return true;
}
