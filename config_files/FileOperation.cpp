#include "FileOperation.h"

#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "DirectoryLookup.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("FileOperation", text);
}

const QChar cr(13);
const QChar tab(9);

struct Checks
{
    bool fs9Folder = false;
    bool mainSnapshot = false;
    bool liveMain = false;
    bool sceneryFolder = false;
    bool scenerySnapshot = false;
    bool liveScenery = false;
};

// The six checks in their order. An unusable configuration name builds no path: its snapshot
// checks fail without a lookup.
Checks makeChecks(const ConfigFolders& folders, const QString& configName)
{
    const bool nameUsable = !whyNameUnusable(configName);
    Checks checks;
    QString fs9 = folders.fs9;
    checks.fs9Folder = FolderExists(fs9);
    if (checks.fs9Folder) {
        checks.mainSnapshot = nameUsable && FileExists(folders.snapshotMain(configName));
        checks.liveMain = FileExists(folders.liveMain());
    }
    QString scenery = folders.scenery;
    checks.sceneryFolder = FolderExists(scenery);
    if (checks.sceneryFolder) {
        checks.scenerySnapshot = nameUsable && FileExists(folders.snapshotScenery(configName));
        checks.liveScenery = FileExists(folders.liveScenery());
    }
    return checks;
}

bool mayGoAhead(Operation operation, const Checks& c)
{
    const bool livePairReady = c.fs9Folder && c.liveMain && c.sceneryFolder && c.liveScenery;
    if (operation == Operation::Save)
        return livePairReady;
    return livePairReady && c.mainSnapshot && c.scenerySnapshot;
}

QString checksMessage(const Checks& c, const QString& name)
{
    const QString original = originalConfigName();
    QStringList lines;
    if (!c.fs9Folder)
        lines << QStringLiteral("Invalid folder for ") + name +
                     QStringLiteral(" FS9 file configuration");
    if (!c.mainSnapshot)
        lines << QStringLiteral("FS9.") + name + QStringLiteral(".cfg file not found");
    if (!c.liveMain)
        lines << original + QStringLiteral(" FS9.cfg file not found");
    if (!c.sceneryFolder)
        lines << QStringLiteral("Invalid folder for ") + name +
                     QStringLiteral(" SCENERY file configuration");
    if (!c.scenerySnapshot)
        lines << QStringLiteral("Scenery.") + name + QStringLiteral(".cfg file not found");
    if (!c.liveScenery)
        lines << original + QStringLiteral(" Scenery.cfg file not found");

    QString message = QStringLiteral("Error during files process : ") + cr + cr;
    for (const QString& line : lines)
        message += tab + line + tab + u' ' + cr;
    return message;
}

struct CopyPair
{
    QString mainSource;
    QString mainDestination;
    QString scenerySource;
    QString sceneryDestination;
};

OperationResult copyBoth(const CopyPair& pair, FileSystem& fileSystem)
{
    QString error;
    const auto unchanged = [&](const QString& source, const QString& destination) {
        return OperationResult{false,
                               tr("%1 could not be copied to %2:%3%4%3%3No file was changed.")
                                   .arg(source, destination, cr, error)};
    };
    const auto main = fileSystem.stageCopy(pair.mainSource, pair.mainDestination, &error);
    if (!main)
        return unchanged(pair.mainSource, pair.mainDestination);
    const auto scenery = fileSystem.stageCopy(pair.scenerySource, pair.sceneryDestination, &error);
    if (!scenery)
        return unchanged(pair.scenerySource, pair.sceneryDestination);
    if (!main->commit(&error))
        return unchanged(pair.mainSource, pair.mainDestination);
    if (!scenery->commit(&error)) {
        return {false, tr("The main configuration %1 was replaced, but the scenery configuration "
                          "%2 was not:%3%4")
                           .arg(pair.mainDestination, pair.sceneryDestination, cr, error)};
    }
    return {true, QString()};
}

OperationResult removeBoth(const QString& main, const QString& scenery, FileSystem& fileSystem)
{
    QString error;
    if (!fileSystem.removeFile(main, &error))
        return {false,
                tr("%1 could not be deleted:%2%3%2%2No file was deleted.").arg(main, cr, error)};
    if (!fileSystem.removeFile(scenery, &error)) {
        return {
            false,
            tr("%1 was deleted, but %2 could not be deleted:%3%4").arg(main, scenery, cr, error)};
    }
    return {true, QString()};
}

} // namespace

std::optional<Operation> operationFromWord(const QString& word)
{
    if (word == QLatin1String("LOAD"))
        return Operation::Load;
    if (word == QLatin1String("SAVE"))
        return Operation::Save;
    if (word == QLatin1String("REMOVE"))
        return Operation::Remove;
    return std::nullopt;
}

OperationResult processFiles(Operation operation, const QString& configName, const QString& newName,
                             const QString& fs9FolderText, const QString& sceneryFolderText,
                             FileSystem& fileSystem)
{
    const QString& target = operation == Operation::Save ? newName : configName;
    if (const auto refusal = nameRefusal(target))
        return {false, *refusal};

    const ConfigFolders folders = ConfigFolders::fromTexts(fs9FolderText, sceneryFolderText);
    const Checks checks = makeChecks(folders, configName);
    if (!mayGoAhead(operation, checks))
        return {false, checksMessage(checks, configName)};

    switch (operation) {
    case Operation::Load:
        return copyBoth({folders.snapshotMain(configName), folders.liveMain(),
                         folders.snapshotScenery(configName), folders.liveScenery()},
                        fileSystem);
    case Operation::Save:
        return copyBoth({folders.liveMain(), folders.snapshotMain(newName), folders.liveScenery(),
                         folders.snapshotScenery(newName)},
                        fileSystem);
    case Operation::Remove:
        return removeBoth(folders.snapshotMain(configName), folders.snapshotScenery(configName),
                          fileSystem);
    }
    return {};
}
