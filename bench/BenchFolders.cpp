#include "BenchFolders.h"

#include <QDir>
#include <QFile>

BenchFolders::BenchFolders()
{
    for (const char* name : {"exe", "fs9", "scenery"})
        QDir(root.path()).mkpath(QLatin1String(name));
}

QString BenchFolders::path(const QString& name) const
{
    return QDir::toNativeSeparators(root.filePath(name));
}

void BenchFolders::writeFile(const QString& path, qint64 size, char fill)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    const QByteArray piece(1 << 20, fill);
    for (qint64 left = size; left > 0; left -= piece.size())
        file.write(piece.constData(), qMin<qint64>(left, piece.size()));
}
