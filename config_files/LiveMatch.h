#pragma once

#include <QString>
#include <QStringList>

struct ConfigFolders;

struct LiveMatch
{
    QStringList names;      // whose snapshot pair equals the live pair byte for byte
    QStringList unreadable; // snapshot files that exist but could not be read, with the reason
    QString error;          // why the live pair could not be read; names is empty then
};

// Which of the named configurations the live pair is a copy of. Names that cannot name a
// snapshot, and pairs with a file missing, match nothing.
LiveMatch matchLivePair(const ConfigFolders& folders, const QStringList& names);
