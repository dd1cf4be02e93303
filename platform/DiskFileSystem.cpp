#include "DiskFileSystem.h"

#include "AtomicWrite.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qint64 chunkSize = qint64{256} * 1024;

class SavedFileCopy : public StagedCopy
{
public:
    explicit SavedFileCopy(std::unique_ptr<QSaveFile> file) : m_file(std::move(file)) {}

    bool commit(QString* error) override
    {
        if (m_file->commit())
            return true;
        *error = m_file->errorString();
        return false;
    }

private:
    std::unique_ptr<QSaveFile> m_file;
};

} // namespace

std::unique_ptr<StagedCopy> DiskFileSystem::stageCopy(const QString& source,
                                                      const QString& destination, QString* error)
{
    if (refusedAsReadOnly(destination, error))
        return nullptr;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return nullptr;
    }
    auto out = std::make_unique<QSaveFile>(destination);
    if (!out->open(QIODevice::WriteOnly)) {
        *error = out->errorString();
        return nullptr;
    }
    QByteArray buffer;
    while (!in.atEnd()) {
        buffer = in.read(chunkSize);
        if (buffer.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = in.errorString();
            return nullptr;
        }
        if (out->write(buffer) != buffer.size()) {
            *error = out->errorString();
            return nullptr;
        }
    }
    return std::make_unique<SavedFileCopy>(std::move(out));
}

bool DiskFileSystem::removeFile(const QString& path, QString* error)
{
    QFile file(path);
    // Windows refuses to delete a file with the read-only attribute; clear it first.
    if (isMarkedReadOnly(path))
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (file.remove())
        return true;
    *error = file.errorString();
    return false;
}
