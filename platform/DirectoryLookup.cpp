#include "DirectoryLookup.h"

#include <QDir>
#include <QFileInfo>

QString AddBackslash(const QString& path)
{
    const QChar separator = QDir::separator();
    if (path.endsWith(separator))
        return path;
    return path + separator;
}

bool FolderExists(QString& path)
{
    path = AddBackslash(path);
    return QFileInfo(path).isDir();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}
