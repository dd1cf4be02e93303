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
    History kept = history();
    if (const auto refusal = loadListed(state, name, kept, fileSystem()))
        return fail(*refusal);
    return record(state, Operation::Load, name);
}

std::optional<QString> loadListed(StoredState& state, const QString& name, History& history,
                                  FileSystem& fileSystem)
{
    // The window's load list takes no typed name: only a listed one can be loaded.
    if (!state.entries().contains(name))
        return Messages::notListed(state, name);
    const OperationResult result =
        processFiles(Operation::Load, name, QString(), state.storedFs9Folder(),
                     state.storedSceneryFolder(), fileSystem, &history);
    if (!result.performed)
        return result.message;
    state.lastConfig = name;
    return std::nullopt;
}
