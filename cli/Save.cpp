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
    const SavePlan plan = planSave(state.entries(), name);
    if (plan.refusal)
        return fail(*plan.refusal);
    // The window's messages name the configuration its load list shows, which after start-up is
    // the first entry.
    History kept = history();
    const OperationResult result =
        processFiles(Operation::Save, state.entries().first(), name, state.storedFs9Folder(),
                     state.storedSceneryFolder(), fileSystem(), &kept);
    if (!result.performed)
        return fail(result.message);
    if (!plan.joinsList)
        return Done;
    state.names << name;
    return record(state, Operation::Save, name);
}
