#pragma once

#include <QString>
#include <QTemporaryDir>

// Real folders for a benchmark: an executable folder with its settings file, an FS9 folder and a
// scenery folder with their live files.
struct BenchFolders
{
    BenchFolders();

    QString exe() const { return path(QStringLiteral("exe")); }
    QString fs9() const { return path(QStringLiteral("fs9")); }
    QString scenery() const { return path(QStringLiteral("scenery")); }
    QString path(const QString& name) const;

    // Writes a file of the given size in pieces, so that making it costs no memory.
    static void writeFile(const QString& path, qint64 size, char fill);

    QTemporaryDir root;
};
