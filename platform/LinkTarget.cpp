#include "LinkTarget.h"

#include <QFileInfo>

QString followLinks(const QString& path)
{
    // As many links as Linux follows before it gives up.
    constexpr int mostLinks = 40;
    QString current = path;
    for (int followed = 0; followed < mostLinks; ++followed) {
        const QFileInfo info(current);
        if (!info.isSymbolicLink())
            return current;
        current = info.symLinkTarget();
    }
    return path;
}
