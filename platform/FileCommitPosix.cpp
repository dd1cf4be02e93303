#include "FileCommit.h"
#include "HangarTemporaries.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

bool failWith(int errorNumber, QString* error)
{
    *error = systemReason(errorNumber);
    return false;
}

class PosixNewFile : public NewFile
{
public:
    PosixNewFile(QString path, int fd) : m_path(std::move(path)), m_fd(fd) {}

    ~PosixNewFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_kept)
            ::unlink(QFile::encodeName(m_path).constData());
    }

    bool write(QByteArrayView bytes, QString* error) override
    {
        const char* data = bytes.data();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t written = ::write(m_fd, data, static_cast<size_t>(left));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                return failWith(errno, error);
            }
            data += written;
            left -= written;
        }
        return true;
    }

#ifdef __linux__
    // The kernel copies without a trip through this process, and shares the blocks instead on a
    // file system that can (Btrfs, XFS). A file system that cannot take part refuses the first
    // call, and the copy goes through the portable pieces.
    bool copyFrom(const QString& source, QString* error) override
    {
        const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
        if (in < 0)
            return failWith(errno, error);
        bool copied = true;
        for (bool first = true;; first = false) {
            const ssize_t done = ::copy_file_range(in, nullptr, m_fd, nullptr, 1 << 30, 0);
            if (done > 0)
                continue;
            if (done < 0 && errno == EINTR)
                continue;
            if (done < 0 && first &&
                (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                ::close(in);
                return NewFile::copyFrom(source, error);
            }
            copied = done == 0 || failWith(errno, error);
            break;
        }
        ::close(in);
        return copied;
    }
#endif

    bool adoptOwnershipOf(const QString& path, QString* error) override
    {
        struct stat original
        {
        };
        if (::stat(QFile::encodeName(path).constData(), &original) != 0)
            return errno == ENOENT || failWith(errno, error);
        if (::fchmod(m_fd, original.st_mode & 07777) != 0)
            return failWith(errno, error);
        // Only root may give a file away; anyone else keeps the owner the file was created with,
        // which is the user's own.
        if (::geteuid() == 0 && ::fchown(m_fd, original.st_uid, original.st_gid) != 0)
            return failWith(errno, error);
        return true;
    }

    bool finish(QString* error) override
    {
        // The data and the size, which is all a reader needs; the times may follow later.
        if (::fdatasync(m_fd) != 0)
            return failWith(errno, error);
        const int fd = m_fd;
        m_fd = -1;
        // A network file system may report a failed write only when the file is closed.
        return ::close(fd) == 0 || failWith(errno, error);
    }

    void keep() override
    {
        m_kept = true;
    }
    QString path() const override
    {
        return m_path;
    }

private:
    QString m_path;
    int m_fd;
    bool m_kept = false;
};

} // namespace

std::unique_ptr<NewFile> createTemporaryBeside(const QString& target, const QString& kind,
                                               QString* error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = HangarTemporaries::nameBeside(target, kind);
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return std::make_unique<PosixNewFile>(path, fd);
        if (errno != EEXIST) {
            failWith(errno, error);
            return nullptr;
        }
    }
    failWith(EEXIST, error);
    return nullptr;
}

std::unique_ptr<NewFile> createFileAt(const QString& path, QString* error)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        failWith(errno, error);
        return nullptr;
    }
    auto file = std::make_unique<PosixNewFile>(path, fd);
    file->keep();
    return file;
}

bool addName(const QString& existing, const QString& newName, QString* error)
{
    return ::link(QFile::encodeName(existing).constData(),
                  QFile::encodeName(newName).constData()) == 0 ||
           failWith(errno, error);
}

bool replaceName(const QString& from, const QString& to, QString* error)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    return failWith(errno, error);
}

bool syncFolder(const QString& folder, QString* error)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return failWith(errno, error);
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all (EINVAL); their renames are as durable as
    // they can make them, and refusing every operation there would help no one.
    return synced || syncError == EINVAL || failWith(syncError, error);
}

bool syncFile(const QString& path, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failWith(errno, error);
    const bool synced = ::fdatasync(fd) == 0;
    const int syncError = errno;
    ::close(fd);
    return synced || failWith(syncError, error);
}

bool makeFolder(const QString& path, QString* error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0777) == 0)
        return true;
    const int mkdirError = errno;
    if (mkdirError == EEXIST && QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (mkdirError != ENOENT || parent == path)
        return failWith(mkdirError, error);
    if (!makeFolder(parent, error))
        return false;
    return ::mkdir(native.constData(), 0777) == 0 || failWith(errno, error);
}

bool isSpecialFile(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return !S_ISREG(info.st_mode);
}
