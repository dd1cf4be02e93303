#include "AtomicWrite.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

bool isMarkedReadOnly(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    // Root passes every permission check, so ask the bits rather than QFileInfo::isWritable().
    return !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteUser));
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    if (isMarkedReadOnly(path)) {
        *error = QCoreApplication::translate("AtomicWrite", "the file is read-only");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
