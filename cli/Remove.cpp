#include "Remove.h"

#include "ConfigOperations.h"
#include "Messages.h"

Remove::Remove()
    : PairCommand(QStringLiteral("remove"),
                  tr("Removes a configuration. Deletes its two snapshot files and takes it off the "
                     "list, as the window's Remove button does; \"FS Original\" stays."),
                  tr("The configuration, as \"hangarctl list\" shows it."), true)
{}

int Remove::change(StoredState& state, const QString& name)
{
    const qsizetype listed = state.names.size();
    History kept = history();
    const ListOperationResult result = removeListed(state, name, place(state, kept));
    if (result.nameUnknown)
        return fail(Messages::notListed(state, name));
    int status = result.performed ? Done : fail(result.message);
    if (state.names.size() != listed && write(state) != Done)
        status = Failed;
    return status;
}
