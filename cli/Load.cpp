#include "Load.h"

#include "FileOperation.h"
#include "Messages.h"

Load::Load()
    : PairCommand(QStringLiteral("load"),
                  tr("Loads a configuration. Copies its two snapshot files over FS9.cfg and "
                     "Scenery.cfg, as the window's Load button does."),
                  tr("The configuration, as \"hangarctl list\" shows it."), true)
{}

int Load::change(StoredState& state, const QString& name)
{
    // The window's load list takes no typed name: only a listed one can be loaded.
    if (!state.entries().contains(name))
        return fail(Messages::notListed(state, name));
    History kept = history();
    const OperationResult result =
        processFiles(Operation::Load, name, QString(), state.storedFs9Folder(),
                     state.storedSceneryFolder(), fileSystem(), &kept);
    if (!result.performed)
        return fail(result.message);
    state.lastConfig = name;
    return record(state, Operation::Load, name);
}
