#include "HistoryRestore.h"

#include "ConfigList.h"
#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "FileOperation.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(HistoryRestore)
};

} // namespace

RestoreResult restoreEntry(int id, StoredState& state, History& history, FileSystem& fileSystem)
{
    // The snapshot pair of a configuration that is not listed (a Remove took it off) joins the
    // list again, as a Save under its name would add it: refused before anything changes when
    // the list is full.
    const QList<HistoryEntry> entries = history.entries();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const HistoryEntry& e) { return e.id == id; });
    const ConfigFolders folders =
        ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder());
    bool joinsList = false;
    if (entry != entries.end() && state.namesRead() && !whyNameUnusable(entry->name) &&
        entry->files[0].path == folders.snapshotMain(entry->name) &&
        entry->files[1].path == folders.snapshotScenery(entry->name)) {
        const SavePlan plan = planSave(state.entries(), entry->name);
        if (plan.refusal)
            return {false, *plan.refusal, false};
        joinsList = plan.joinsList;
    }
    const OperationResult result = restoreFromHistory(id, history, fileSystem);
    if (!result.performed)
        return {false, result.message, false};
    if (joinsList)
        state.names << entry->name;
    return {true, QString(), joinsList};
}

RestoreResult undoLastChange(StoredState& state, History& history, FileSystem& fileSystem)
{
    const QList<HistoryEntry> entries = history.entries();
    if (entries.isEmpty())
        return {false, Texts::tr("The history keeps nothing yet: there is nothing to undo."),
                false};
    return restoreEntry(entries.first().id, state, history, fileSystem);
}
