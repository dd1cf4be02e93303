#include "AtomicWrite.h"

#include "FileCommit.h"

#include <QCoreApplication>
#include <QFileInfo>

bool isMarkedReadOnly(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    // Root passes every access check, so the owner's write bit is asked as well: a file marked
    // read-only is refused as the system's own copy would refuse it for anyone else.
    return !info.permissions().testFlag(QFileDevice::WriteOwner) || !info.isWritable();
}

bool refusedAsReadOnly(const QString& path, QString* error)
{
    if (!isMarkedReadOnly(path))
        return false;
    *error = QCoreApplication::translate("AtomicWrite", "the file is read-only");
    return true;
}

bool refusedAsSpecial(const QString& path, QString* error)
{
    if (!isSpecialFile(path))
        return false;
    *error = QCoreApplication::translate("AtomicWrite", "it is not a regular file");
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    if (refusedAsSpecial(path, error) || refusedAsReadOnly(path, error))
        return false;
    const auto file = createTemporaryBeside(path, QStringLiteral("new"), error);
    if (!file || !file->write(bytes, error) || !file->adoptOwnershipOf(path, error) ||
        !file->finish(error) || !replaceName(file->path(), path, error))
        return false;
    file->keep();
    return syncFolder(QFileInfo(path).path(), error);
}
