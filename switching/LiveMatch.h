#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct ConfigFolders;

struct LiveMatch
{
    QStringList names;      // whose snapshot pair equals the live pair byte for byte
    QStringList unreadable; // snapshot files that exist but could not be read, with the reason
    QString error;          // why the live pair could not be read; names is empty then
};

// The bytes of the live pair, FS9.cfg then Scenery.cfg; nothing, with the reason in error, when
// either cannot be read.
std::optional<std::array<QByteArray, 2>> readLivePair(const ConfigFolders& folders, QString* error);

// Which of the named configurations the live pair is a copy of. Names that cannot name a
// snapshot, and pairs with a file missing, match nothing.
LiveMatch matchLivePair(const ConfigFolders& folders, const QStringList& names);
