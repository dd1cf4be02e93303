#include "FileCommit.h"
#include "HangarTemporaries.h"

#include <QDir>
#include <QFileInfo>
#include <windows.h>

namespace {

bool failWith(DWORD code, QString* error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    *error = QString::fromWCharArray(text).trimmed();
    LocalFree(text);
    return false;
}

std::wstring native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

class WindowsNewFile : public NewFile
{
public:
    WindowsNewFile(QString path, HANDLE handle) : m_path(std::move(path)), m_handle(handle) {}

    ~WindowsNewFile() override
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        if (!m_kept)
            DeleteFileW(native(m_path).c_str());
    }

    bool write(QByteArrayView bytes, QString* error) override
    {
        const char* data = bytes.data();
        qsizetype left = bytes.size();
        while (left > 0) {
            const DWORD piece = static_cast<DWORD>(qMin<qsizetype>(left, 1 << 30));
            DWORD written = 0;
            if (!WriteFile(m_handle, data, piece, &written, nullptr))
                return failWith(GetLastError(), error);
            data += written;
            left -= written;
        }
        return true;
    }

    // Windows gives a new file the folder's inherited rights; the read-only attribute of what it
    // replaces is refused before any copy starts.
    bool adoptOwnershipOf(const QString&, QString*) override { return true; }

    bool finish(QString* error) override
    {
        if (!FlushFileBuffers(m_handle))
            return failWith(GetLastError(), error);
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) || failWith(GetLastError(), error);
    }

    void keep() override { m_kept = true; }
    QString path() const override { return m_path; }

private:
    QString m_path;
    HANDLE m_handle;
    bool m_kept = false;
};

} // namespace

std::unique_ptr<NewFile> createTemporaryBeside(const QString& target, const QString& kind,
                                               QString* error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = HangarTemporaries::nameBeside(target, kind);
        const HANDLE handle = CreateFileW(native(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            return std::make_unique<WindowsNewFile>(path, handle);
        if (GetLastError() != ERROR_FILE_EXISTS) {
            failWith(GetLastError(), error);
            return nullptr;
        }
    }
    failWith(ERROR_FILE_EXISTS, error);
    return nullptr;
}

std::unique_ptr<NewFile> createFileAt(const QString& path, QString* error)
{
    const HANDLE handle = CreateFileW(native(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        failWith(GetLastError(), error);
        return nullptr;
    }
    auto file = std::make_unique<WindowsNewFile>(path, handle);
    file->keep();
    return file;
}

bool addName(const QString& existing, const QString& newName, QString* error)
{
    return CreateHardLinkW(native(newName).c_str(), native(existing).c_str(), nullptr) ||
           failWith(GetLastError(), error);
}

bool replaceName(const QString& from, const QString& to, QString* error)
{
    if (MoveFileExW(native(from).c_str(), native(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    return failWith(GetLastError(), error);
}

// MOVEFILE_WRITE_THROUGH already waits for the rename to reach the disk.
bool syncFolder(const QString&, QString*)
{
    return true;
}

bool syncFile(const QString& path, QString* error)
{
    const HANDLE handle = CreateFileW(native(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return failWith(GetLastError(), error);
    const bool flushed = FlushFileBuffers(handle);
    const DWORD flushError = GetLastError();
    CloseHandle(handle);
    return flushed || failWith(flushError, error);
}

bool makeFolder(const QString& path, QString* error)
{
    if (CreateDirectoryW(native(path).c_str(), nullptr))
        return true;
    const DWORD createError = GetLastError();
    if (createError == ERROR_ALREADY_EXISTS && QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (createError != ERROR_PATH_NOT_FOUND || parent == path)
        return failWith(createError, error);
    if (!makeFolder(parent, error))
        return false;
    return CreateDirectoryW(native(path).c_str(), nullptr) || failWith(GetLastError(), error);
}

bool isSpecialFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}
