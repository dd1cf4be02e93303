#include "HistoryRestore.h"

#include "ConfigList.h"
#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "DirectoryLookup.h"
#include "FileOperation.h"
#include "SwitchLocks.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace {

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(HistoryRestore)
};

// The same file to Windows: the same folder, and file names that differ in letter case at most.
bool samePlace(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return first.path() == second.path() && sameFileName(first.fileName(), second.fileName());
}

QString fileNames(const HistoryEntry& entry)
{
    return Texts::tr("%1 and %2")
        .arg(QFileInfo(entry.files[0].path).fileName(), QFileInfo(entry.files[1].path).fileName());
}

// Takes the locks of the switch that a restore of the state's history leads to, so that the
// history is read while no other copy adds to it; the switch takes them again from this process.
// Why not, when another copy holds them too long.
std::optional<QString> lockHistoryOf(const StoredState& state, const History& history,
                                     FileSystem& fileSystem, SwitchLocks& locks)
{
    const ConfigFolders folders =
        ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder());
    QString busy;
    if (locks.take({folders.fs9, folders.scenery}, history.folder(), fileSystem, &busy))
        return std::nullopt;
    return busy;
}

} // namespace

bool isLivePair(const HistoryEntry& entry)
{
    return sameFileName(QFileInfo(entry.files[0].path).fileName(), u"FS9.cfg") &&
           sameFileName(QFileInfo(entry.files[1].path).fileName(), u"Scenery.cfg");
}

QString keptPairText(const HistoryEntry& entry)
{
    if (entry.files[0].keptAs.isEmpty() && entry.files[1].keptAs.isEmpty())
        return Texts::tr("no files (%1 were not there)").arg(fileNames(entry));
    if (!entry.matched)
        return fileNames(entry);
    if (!isLivePair(entry))
        return Texts::tr("the pair of \"%1\"").arg(*entry.matched);
    if (entry.matched->isEmpty())
        return Texts::tr("the live files, a copy of no saved configuration");
    return Texts::tr("the live files, a copy of \"%1\"").arg(*entry.matched);
}

RestoreResult restoreEntry(int id, StoredState& state, History& history, FileSystem& fileSystem)
{
    SwitchLocks locks;
    if (const auto busy = lockHistoryOf(state, history, fileSystem, locks))
        return {false, *busy, false};
    const ConfigFolders folders =
        ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder());
    const QList<HistoryEntry> entries = history.entries();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const HistoryEntry& e) { return e.id == id; });
    if (entry == entries.end())
        return {false, Texts::tr("The history holds no entry %1.").arg(id), false};

    // The pair at the entry's paths is a configuration's own when they are its snapshot files,
    // the live pair when they are the live files, and anything else (folders changed since) is
    // told by its files' names.
    std::optional<QString> configuration;
    if (state.namesRead() && !whyNameUnusable(entry->name) &&
        samePlace(entry->files[0].path, folders.snapshotMain(entry->name)) &&
        samePlace(entry->files[1].path, folders.snapshotScenery(entry->name)))
        configuration = entry->name;
    std::optional<QString> replaced = configuration;
    if (!configuration && samePlace(entry->files[0].path, folders.liveMain()) &&
        samePlace(entry->files[1].path, folders.liveScenery()))
        replaced = liveCopyOf(folders, state.entries());

    // A configuration's pair that comes back is listed again, as a Save under its name would
    // list it: refused before anything changes when the list is full.
    const bool bringsPairBack =
        !entry->files[0].keptAs.isEmpty() && !entry->files[1].keptAs.isEmpty();
    SavePlan plan;
    if (configuration && bringsPairBack) {
        plan = planSave(state.entries(), *configuration);
        if (plan.refusal)
            return {false, *plan.refusal, false};
    }
    const OperationResult result =
        restoreFromHistory(*entry, history, folders, fileSystem, replaced);
    if (!result.performed)
        return {false, result.message, false};

    bool listChanged = false;
    if (plan.joinsList) {
        state.names << plan.name;
        listChanged = true;
    } else if (configuration && !bringsPairBack) {
        const QList<int> leaving =
            entriesLeavingAfterRemove(folders, state.entries(), *configuration);
        for (int position : leaving) // the names follow "FS Original", which never leaves
            state.names.removeAt(position - 1);
        listChanged = !leaving.isEmpty();
    }
    const QString when = entry->time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const bool keptAny = !entry->files[0].keptAs.isEmpty() || !entry->files[1].keptAs.isEmpty();
    // One arg() call each: a name may hold "%1".
    const QString number = QString::number(entry->id);
    const QString what =
        keptAny ? Texts::tr("Put back %1 (entry %2, kept by %3 at %4)")
                      .arg(keptPairText(*entry), number, entry->operation, when)
                : Texts::tr("Deleted %1, which were not there before %3 at %4 (entry %2)")
                      .arg(fileNames(*entry), number, entry->operation, when);
    const QString where =
        result.kept ? Texts::tr("what it replaced, %1, is kept as entry %2.")
                          .arg(keptPairText(*result.kept), QString::number(result.kept->id))
                    : Texts::tr("what it replaced is not kept.");
    return {true, what + QStringLiteral("; ") + where, listChanged};
}

RestoreResult undoLastChange(StoredState& state, History& history, FileSystem& fileSystem)
{
    SwitchLocks locks;
    if (const auto busy = lockHistoryOf(state, history, fileSystem, locks))
        return {false, *busy, false};
    const QList<HistoryEntry> entries = history.entries();
    if (entries.isEmpty())
        return {false, Texts::tr("The history keeps nothing yet: there is nothing to undo."),
                false};
    return restoreEntry(entries.first().id, state, history, fileSystem);
}
