#include "ConfigPaths.h"

#include "DirectoryLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

namespace {

// A file of the naming rule as the folder spells it, so that checks, copies and deletions reach
// the file the simulator uses and never make a second one beside it in another letter case.
QString onDisk(const QString& folder, const QString& name)
{
    return folder + spellingOnDisk(folder, name);
}

QString normalised(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// The name in the file's name after the prefix ("" for the live file), or nothing when the file
// is not one of the prefix's configuration files in the folder.
std::optional<QString> configNameOf(const QString& path, const QString& folder,
                                    const QString& prefix)
{
    const QFileInfo file(path);
    if (!file.isAbsolute() || normalised(file.path()) != normalised(folder))
        return std::nullopt;
    const QRegularExpression pattern(u'^' + QRegularExpression::escape(prefix) +
                                         QStringLiteral(R"((?:\.([^/\\]+))?\.cfg$)"),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(file.fileName());
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

} // namespace

bool isPairOf(const ConfigFolders& folders, const QString& main, const QString& scenery)
{
    const auto mainName = configNameOf(main, folders.fs9, QStringLiteral("FS9"));
    const auto sceneryName = configNameOf(scenery, folders.scenery, QStringLiteral("Scenery"));
    return mainName && sceneryName && mainName->compare(*sceneryName, Qt::CaseInsensitive) == 0;
}

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
