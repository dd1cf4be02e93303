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

int Load::change(StoredState& state, const QString& typed)
{
    // The window's load list takes no typed name: only a listed one can be loaded.
    const qsizetype position = positionOfName(state.entries(), typed);
    if (position < 0)
        return fail(Messages::notListed(state, typed));
    const QString name = state.entries().at(position);
    History kept = history();
    const OperationResult result =
        processFiles(Operation::Load, name, QString(), state.storedFs9Folder(),
                     state.storedSceneryFolder(), fileSystem(), &kept, state.entries());
    if (!result.performed)
        return fail(result.message);
    // Tuning that no configuration holds lives on in the history alone: the user must know.
    if (result.kept && result.kept->matched && result.kept->matched->isEmpty())
        err() << QCoreApplication::applicationName() << ": "
              << Messages::unsavedLiveKept(result.kept->id) << '\n'
              << Qt::flush;
    state.lastConfig = name;
    return write(state);
}
