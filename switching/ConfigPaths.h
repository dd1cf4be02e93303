#pragma once

#include <QString>

// The two folders of a configuration, each ending with the native separator, and the paths of
// the live files and of the snapshot files of a name inside them. A path takes the spelling of
// the file the folder holds in any letter case, else that of the naming rule.
struct ConfigFolders
{
    // From the folder boxes' texts, with or without a trailing separator.
    static ConfigFolders fromTexts(const QString& fs9FolderText, const QString& sceneryFolderText);

    QString liveMain() const;
    QString liveScenery() const;
    QString snapshotMain(const QString& name) const;
    QString snapshotScenery(const QString& name) const;

    bool bothFoldersExist() const;
    // Both folders exist and the name, which must be usable, no longer has both snapshot files.
    bool snapshotPairBroken(const QString& name) const;

    QString fs9;
    QString scenery;
};

// Whether the two paths are the live pair, or the two snapshot files of one name, in the folders
// (the name's letter case aside, as the file system finds files).
bool isPairOf(const ConfigFolders& folders, const QString& main, const QString& scenery);
