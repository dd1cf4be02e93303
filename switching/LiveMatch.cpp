#include "LiveMatch.h"

#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "IniReader.h"

#include <QFile>

namespace {

bool readWhole(const QString& path, QByteArray* bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = unreadableFileMessage(path, file.errorString());
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = unreadableFileMessage(path, file.errorString());
        return false;
    }
    return true;
}

// Compares in pieces, so that a snapshot of another size or with an early difference costs
// little to rule out.
bool sameBytes(const QString& path, const QByteArray& expected, QStringList* unreadable)
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable->append(unreadableFileMessage(path, file.errorString()));
        return false;
    }
    if (file.size() != expected.size())
        return false;
    QByteArray piece(65536, Qt::Uninitialized);
    for (qsizetype at = 0; at < expected.size();) {
        const qint64 got = file.read(piece.data(), qMin(piece.size(), expected.size() - at));
        if (got <= 0) {
            unreadable->append(unreadableFileMessage(path, file.errorString()));
            return false;
        }
        if (QByteArrayView(piece.constData(), got) != QByteArrayView(expected).sliced(at, got))
            return false;
        at += got;
    }
    return true;
}

} // namespace

std::optional<std::array<QByteArray, 2>> readLivePair(const ConfigFolders& folders, QString* error)
{
    std::array<QByteArray, 2> pair;
    if (!readWhole(folders.liveMain(), &pair[0], error) ||
        !readWhole(folders.liveScenery(), &pair[1], error))
        return std::nullopt;
    return pair;
}

LiveMatch matchLivePair(const ConfigFolders& folders, const QStringList& names)
{
    LiveMatch match;
    const auto live = readLivePair(folders, &match.error);
    if (!live)
        return match;
    for (const QString& name : names) {
        if (!whyNameUnusable(name) &&
            sameBytes(folders.snapshotMain(name), (*live)[0], &match.unreadable) &&
            sameBytes(folders.snapshotScenery(name), (*live)[1], &match.unreadable))
            match.names.append(name);
    }
    return match;
}
