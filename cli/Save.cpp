#include "Save.h"

#include "ConfigList.h"
#include "FileOperation.h"

Save::Save()
    : PairCommand(QStringLiteral("save"),
                  tr("Saves the live files under a name. Copies FS9.cfg and Scenery.cfg to the "
                     "configuration's snapshot files, as the window's Save button does: a new "
                     "name joins the list (nine at most), an existing one is overwritten."),
                  tr("The name to save under."), true)
{}

int Save::change(StoredState& state, const QString& name)
{
    const qsizetype listed = state.names.size();
    History kept = history();
    if (const auto refusal = saveLive(state, name, kept, fileSystem()))
        return fail(*refusal);
    // Only a name that joins the list changes the settings.
    return state.names.size() == listed ? Done : record(state, Operation::Save, name);
}

std::optional<QString> saveLive(StoredState& state, const QString& name, History& history,
                                FileSystem& fileSystem)
{
    const SavePlan plan = planSave(state.entries(), name);
    if (plan.refusal)
        return plan.refusal;
    // The window's messages name the configuration its load list shows, which after start-up is
    // the first entry.
    const OperationResult result =
        processFiles(Operation::Save, state.entries().first(), plan.name, state.storedFs9Folder(),
                     state.storedSceneryFolder(), fileSystem, &history);
    if (!result.performed)
        return result.message;
    if (plan.joinsList)
        state.names << plan.name;
    return std::nullopt;
}
