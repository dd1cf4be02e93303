#include "Load.h"

#include "ConfigNames.h"
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
    return record(state, Operation::Load, state.lastConfig.value_or(name));
}

std::optional<QString> loadListed(StoredState& state, const QString& name, History& history,
                                  FileSystem& fileSystem)
{
    // The window's load list takes no typed name: only a listed one can be loaded.
    const qsizetype position = positionOfName(state.entries(), name);
    if (position < 0)
        return Messages::notListed(state, name);
    const QString listed = state.entries().at(position);
    const OperationResult result =
        processFiles(Operation::Load, listed, QString(), state.storedFs9Folder(),
                     state.storedSceneryFolder(), fileSystem, &history, state.entries());
    if (!result.performed)
        return result.message;
    // Tuning that no configuration holds lives on in the history alone: the user must know.
    if (result.kept && result.kept->matched && result.kept->matched->isEmpty())
        Command::err() << QCoreApplication::applicationName() << ": "
                       << Messages::unsavedLiveKept(result.kept->id) << '\n'
                       << Qt::flush;
    state.lastConfig = listed;
    return std::nullopt;
}
