#include "ConfigPaths.h"

#include "DirectoryLookup.h"

ConfigFolders ConfigFolders::fromTexts(const QString& fs9FolderText,
                                       const QString& sceneryFolderText)
{
    return {AddBackslash(fs9FolderText), AddBackslash(sceneryFolderText)};
}

QString ConfigFolders::liveMain() const
{
    return fs9 + QStringLiteral("FS9.cfg");
}

QString ConfigFolders::liveScenery() const
{
    return scenery + QStringLiteral("Scenery.cfg");
}

QString ConfigFolders::snapshotMain(const QString& name) const
{
    return fs9 + QStringLiteral("FS9.") + name + QStringLiteral(".cfg");
}

QString ConfigFolders::snapshotScenery(const QString& name) const
{
    return scenery + QStringLiteral("Scenery.") + name + QStringLiteral(".cfg");
}

bool ConfigFolders::bothFoldersExist() const
{
    QString main = fs9;
    QString second = scenery;
    return FolderExists(main) && FolderExists(second);
}

bool ConfigFolders::snapshotPairBroken(const QString& name) const
{
    return bothFoldersExist() &&
           !(FileExists(snapshotMain(name)) && FileExists(snapshotScenery(name)));
}
