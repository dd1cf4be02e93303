#include "AtomicWrite.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

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

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    if (refusedAsReadOnly(path, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
