#include "KernelLock.h"

#include <QDir>
#include <windows.h>

namespace {

// Far beyond any byte a lock file holds: a locked range cannot be read by others on Windows.
constexpr DWORD lockedOffsetHigh = 0x7fffffff;

HANDLE handleOf(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

QString systemReason(DWORD code)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString reason = QString::fromWCharArray(text).trimmed();
    LocalFree(text);
    return reason;
}

// Opens the file for reading and writing, created when missing; a reparse point is opened as
// itself, never followed.
HANDLE openLockFile(const QString& path, DWORD attributes)
{
    return CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(),
                       GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       attributes | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

} // namespace

KernelLock KernelLock::ofFolder(const QString& folder)
{
    // Windows locks byte ranges of files only: a folder is locked through a hidden file in it.
    return ofFile(QDir(folder).filePath(QStringLiteral(".hangar-lock")));
}

KernelLock KernelLock::ofFile(const QString& path)
{
    KernelLock lock;
    const bool hidden = path.endsWith(QStringLiteral(".hangar-lock"));
    const HANDLE handle =
        openLockFile(path, hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) {
        lock.m_error = systemReason(GetLastError());
        return lock;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        lock.m_error = QStringLiteral("%1 is not a regular file.").arg(path);
        CloseHandle(handle);
        return lock;
    }
    lock.m_handle = reinterpret_cast<qintptr>(handle);
    lock.m_identity = {quint64(information.dwVolumeSerialNumber),
                       (quint64(information.nFileIndexHigh) << 32) |
                           quint64(information.nFileIndexLow)};
    return lock;
}

void KernelLock::close()
{
    if (isOpen())
        CloseHandle(handleOf(m_handle));
    m_handle = invalidHandle;
}

KernelLock::Attempt KernelLock::tryLock()
{
    if (!isOpen())
        return Attempt::Failed;
    OVERLAPPED where{};
    where.OffsetHigh = lockedOffsetHigh;
    if (LockFileEx(handleOf(m_handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &where))
        return Attempt::Taken;
    const DWORD code = GetLastError();
    if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
        return Attempt::Busy;
    m_error = systemReason(code);
    return Attempt::Failed;
}

QByteArray KernelLock::read(qsizetype maxBytes) const
{
    QByteArray bytes(maxBytes, Qt::Uninitialized);
    OVERLAPPED from{};
    DWORD got = 0;
    if (!isOpen() || !ReadFile(handleOf(m_handle), bytes.data(), DWORD(bytes.size()), &got, &from))
        got = 0;
    bytes.resize(got);
    return bytes;
}

bool KernelLock::write(const QByteArray& bytes)
{
    const HANDLE handle = handleOf(m_handle);
    OVERLAPPED from{};
    DWORD written = 0;
    if (!isOpen() || SetFilePointer(handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !SetEndOfFile(handle) ||
        !WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, &from) ||
        written != DWORD(bytes.size())) {
        m_error = systemReason(GetLastError());
        return false;
    }
    return true;
}
