#include "DiskFileSystem.h"

#include "AtomicWrite.h"
#include "FileCommit.h"

#include <QFile>
#include <QFileInfo>

std::optional<QString> DiskFileSystem::stageCopy(const QString& source, const QString& destination,
                                                 QString* error)
{
    if (refusedAsReadOnly(destination, error))
        return std::nullopt;
    const auto out = createTemporaryBeside(destination, QStringLiteral("new"), error);
    if (!out || !out->copyFrom(source, error))
        return std::nullopt;
    const QString ownershipFrom = QFileInfo::exists(destination) ? destination : source;
    if (!out->adoptOwnershipOf(ownershipFrom, error) || !out->finish(error))
        return std::nullopt;
    out->keep();
    return out->path();
}

bool DiskFileSystem::writeRecord(const QString& path, const QByteArray& bytes, QString* error)
{
    const auto file = createFileAt(path, error);
    return file && file->write(bytes, error) && file->finish(error);
}

bool DiskFileSystem::writeWhole(const QString& path, const QByteArray& bytes,
                                const QString& equivalent, QString* error)
{
    // Without the second name (no links here, or the name is taken) the bytes are written.
    if (!equivalent.isEmpty() && addName(equivalent, path))
        return true;
    const auto file = createTemporaryBeside(path, QStringLiteral("new"), error);
    if (!file || !file->write(bytes, error) || !file->finish(error) ||
        !replaceName(file->path(), path, error))
        return false;
    file->keep();
    return true;
}

bool DiskFileSystem::link(const QString& existing, const QString& newName, QString* error)
{
    return addName(existing, newName, error);
}

bool DiskFileSystem::rename(const QString& from, const QString& to, QString* error)
{
    return replaceName(from, to, error);
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

bool DiskFileSystem::syncFolder(const QString& folder, QString* error)
{
    return ::syncFolder(folder, error);
}

bool DiskFileSystem::syncFile(const QString& path, QString* error)
{
    return ::syncFile(path, error);
}
