#include "Remove.h"

#include "ConfigList.h"
#include "FileOperation.h"
#include "Messages.h"

Remove::Remove()
    : PairCommand(QStringLiteral("remove"),
                  tr("Removes a configuration. Deletes its two snapshot files and takes it off the "
                     "list, as the window's Remove button does; \"FS Original\" stays."),
                  tr("The configuration, as \"hangarctl list\" shows it."), true)
{}

int Remove::change(StoredState& state, const QString& name)
{
    const RemovePlan plan = planRemove(state.entries(), name);
    if (plan.refusal)
        return fail(*plan.refusal);
    if (!plan.position)
        return fail(Messages::notListed(state, name));
    const QString listed = state.entries().at(*plan.position);
    History kept = history();
    const OperationResult result =
        processFiles(Operation::Remove, listed, QString(), state.storedFs9Folder(),
                     state.storedSceneryFolder(), fileSystem(), &kept);
    int status = result.performed ? Done : fail(result.message);
    const QList<int> leaving = entriesLeavingAfterRemove(foldersOf(state), state.entries(), listed);
    for (int position : leaving) // the names follow "FS Original", which is never removed
        state.names.removeAt(position - 1);
    if (!leaving.isEmpty() && write(state) != Done)
        status = Failed;
    return status;
}
