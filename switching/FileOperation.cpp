#include "FileOperation.h"

#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "DirectoryLookup.h"
#include "LiveMatch.h"
#include "PairSwitch.h"
#include "SwitchLocks.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(FileOperation)
};

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
    checks.fs9Folder = FolderExists(folders.fs9);
    if (checks.fs9Folder) {
        checks.mainSnapshot = nameUsable && FileExists(folders.snapshotMain(configName));
        checks.liveMain = FileExists(folders.liveMain());
    }
    checks.sceneryFolder = FolderExists(folders.scenery);
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

OperationResult switched(const std::array<PairStep, 2>& pair, FileSystem& fileSystem,
                         const KeepRequest& keep, bool deletes, SwitchLocks& locks)
{
    const SwitchOutcome outcome = switchPair(pair, fileSystem, keep);
    if (outcome.leftPending)
        locks.setSettled(false);
    // The newest entry always stays in the history: it is the one this switch kept.
    if (outcome.inPlace)
        return {true, QString(),
                keep.history != nullptr ? keep.history->entries().value(0)
                                        : std::optional<HistoryEntry>()};
    const QString what = outcome.notKept
                             ? Texts::tr("The files to be replaced could not be kept in the "
                                         "history in %1:")
                         : deletes ? Texts::tr("%1 could not be deleted:")
                                   : Texts::tr("%1 could not be written:");
    const QString after = outcome.leftPending
                              ? Texts::tr("Hangar completes the change before its next "
                                          "operation.")
                          : deletes ? Texts::tr("No file was deleted.")
                                    : Texts::tr("No file was changed.");
    return {false, what.arg(outcome.failedPath) + cr + outcome.reason + cr + cr + after, {}};
}

OperationResult recovered(SwitchLocks& locks, const ConfigFolders& folders, FileSystem& fileSystem,
                          History* history)
{
    const RecoveryOutcome recovery = recoverOnce(locks, folders, fileSystem, history);
    if (recovery.done)
        return {true, QString(), {}};
    return {false,
            Texts::tr("An interrupted change of the configuration files could not be "
                      "completed:%1%2%1%1No file was changed.")
                .arg(cr, recovery.reason),
            {}};
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
                             FileSystem& fileSystem, History* history, const QStringList& entries)
{
    const QString& target = operation == Operation::Save ? newName : configName;
    if (const auto refusal = nameRefusal(target))
        return {false, *refusal, {}};

    const ConfigFolders folders = ConfigFolders::fromTexts(fs9FolderText, sceneryFolderText);
    SwitchLocks locks;
    QString busy;
    if (!locks.take({folders.fs9, folders.scenery},
                    history != nullptr ? history->folder() : QString(), fileSystem, &busy))
        return {false, busy, {}};
    if (folders.bothFoldersExist()) {
        OperationResult recovery = recovered(locks, folders, fileSystem, history);
        if (!recovery.performed)
            return recovery;
    }
    const Checks checks = makeChecks(folders, configName);
    if (!mayGoAhead(operation, checks))
        return {false, checksMessage(checks, configName), {}};

    static const char* const words[] = {"LOAD", "SAVE", "REMOVE"};
    // A Load replaces the live pair; a Save and a Remove the named configuration's own pair.
    const KeepRequest keep{history, QLatin1String(words[int(operation)]), target,
                           history == nullptr             ? std::nullopt
                           : operation == Operation::Load ? liveCopyOf(folders, entries)
                                                          : std::optional<QString>(target)};
    switch (operation) {
    case Operation::Load:
        return switched({{{folders.snapshotMain(configName), folders.liveMain()},
                          {folders.snapshotScenery(configName), folders.liveScenery()}}},
                        fileSystem, keep, false, locks);
    case Operation::Save:
        return switched({{{folders.liveMain(), folders.snapshotMain(newName)},
                          {folders.liveScenery(), folders.snapshotScenery(newName)}}},
                        fileSystem, keep, false, locks);
    case Operation::Remove:
        return switched({{{QString(), folders.snapshotMain(configName)},
                          {QString(), folders.snapshotScenery(configName)}}},
                        fileSystem, keep, true, locks);
    }
    return {};
}

std::optional<QString> liveCopyOf(const ConfigFolders& folders, const QStringList& entries)
{
    const LiveMatch match = matchLivePair(folders, entries);
    if (!match.error.isEmpty())
        return std::nullopt;
    return match.names.value(0);
}

OperationResult restoreFromHistory(const HistoryEntry& entry, History& history,
                                   const ConfigFolders& folders, FileSystem& fileSystem,
                                   const std::optional<QString>& matched)
{
    for (const QString& folder : {folders.fs9, folders.scenery}) {
        if (!FolderExists(folder))
            return {false,
                    Texts::tr("The folder %1 no longer exists.%2%2No file was changed.")
                        .arg(folder, cr),
                    {}};
    }
    if (!isPairOf(folders, entry.files[0].path, entry.files[1].path))
        return {false,
                Texts::tr("Entry %1 of the history names %2 and %3, which are not a pair "
                          "of configuration files in the folders. It was left as it "
                          "is.%4%4No file was changed.")
                    .arg(QString::number(entry.id), entry.files[0].path, entry.files[1].path, cr),
                {}};
    SwitchLocks locks;
    QString busy;
    if (!locks.take({folders.fs9, folders.scenery}, history.folder(), fileSystem, &busy))
        return {false, busy, {}};
    OperationResult recovery = recovered(locks, folders, fileSystem, &history);
    if (!recovery.performed)
        return recovery;

    std::array<PairStep, 2> pair;
    for (std::size_t i = 0; i < pair.size(); ++i) {
        const KeptFile& file = entry.files[i];
        // A file that was not there when the pair was kept is deleted when it is put back.
        if (!file.keptAs.isEmpty())
            pair[i].source = history.keptFilePath(file.keptAs);
        pair[i].destination = file.path;
    }
    return switched(pair, fileSystem, {&history, QStringLiteral("RESTORE"), entry.name, matched},
                    false, locks);
}

QString changeNotRecorded(Operation operation, const QString& name, const QString& writeFailure)
{
    const QString done =
        operation == Operation::Load
            ? Texts::tr("The configuration \"%1\" was loaded.").arg(name)
            : Texts::tr("The files of the configuration \"%1\" are in place.").arg(name);
    const QString missing =
        operation == Operation::Load
            ? Texts::tr("The settings do not record it as the configuration loaded last.")
            : Texts::tr("It is not in the list of configurations until it is saved again.");
    return done + cr + cr + writeFailure + cr + cr + missing;
}
