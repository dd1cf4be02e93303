#include "Load.h"

#include "ConfigOperations.h"
#include "Messages.h"

Load::Load()
    : PairCommand(QStringLiteral("load"),
                  tr("Loads a configuration. Copies its two snapshot files over FS9.cfg and "
                     "Scenery.cfg, as the window's Load button does."),
                  tr("The configuration, as \"hangarctl list\" shows it."), true)
{}

int Load::change(StoredState& state, const QString& name)
{
    History kept = history();
    const ListOperationResult result = loadListed(state, name, place(state, kept));
    if (result.nameUnknown)
        return fail(Messages::notListed(state, name));
    if (!result.performed)
        return fail(result.message);
    warnIfOnlyKept(result);
    return record(state, Operation::Load, *state.lastConfig);
}
