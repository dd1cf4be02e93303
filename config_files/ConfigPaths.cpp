#include "ConfigPaths.h"

#include "DirectoryLookup.h"

namespace {

// A file of the naming rule as the folder spells it, so that checks, copies and deletions reach
// the file the simulator uses and never make a second one beside it in another letter case.
QString onDisk(const QString& folder, const QString& name)
{
    return folder + spellingOnDisk(folder, name);
}

} // namespace

ConfigFolders ConfigFolders::fromTexts(const QString& fs9FolderText,
                                       const QString& sceneryFolderText)
{
    return {AddBackslash(fs9FolderText), AddBackslash(sceneryFolderText)};
}

QString ConfigFolders::liveMain() const
{
    return onDisk(fs9, QStringLiteral("FS9.cfg"));
}

QString ConfigFolders::liveScenery() const
{
    return onDisk(scenery, QStringLiteral("Scenery.cfg"));
}

QString ConfigFolders::snapshotMain(const QString& name) const
{
    return onDisk(fs9, QStringLiteral("FS9.") + name + QStringLiteral(".cfg"));
}

QString ConfigFolders::snapshotScenery(const QString& name) const
{
    return onDisk(scenery, QStringLiteral("Scenery.") + name + QStringLiteral(".cfg"));
}

bool ConfigFolders::bothFoldersExist() const
{
    return FolderExists(fs9) && FolderExists(scenery);
}

bool ConfigFolders::snapshotPairBroken(const QString& name) const
{
    return bothFoldersExist() &&
           !(FileExists(snapshotMain(name)) && FileExists(snapshotScenery(name)));
}
