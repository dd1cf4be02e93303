#include "Save.h"

#include "ConfigOperations.h"

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
    // The window's messages name the configuration its load list shows, which after start-up is
    // the first entry.
    const ListOperationResult result =
        saveLive(state, name, state.entries().first(), place(state, kept));
    if (!result.performed)
        return fail(result.message);
    // Only a name that joins the list changes the settings.
    return state.names.size() == listed ? Done : record(state, Operation::Save, name);
}
