#include "ConfigOperations.h"

#include "ConfigList.h"
#include "ConfigNames.h"

namespace {

ListOperationResult processed(Operation operation, const QString& configName,
                              const QString& newName, const StoredState& state,
                              const OperationPlace& place)
{
    ListOperationResult result;
    static_cast<OperationResult&>(result) =
        processFiles(operation, configName, newName, place.fs9FolderText, place.sceneryFolderText,
                     place.fileSystem, &place.history, state.entries());
    return result;
}

ListOperationResult refused(const QString& message)
{
    ListOperationResult result;
    result.message = message;
    return result;
}

ListOperationResult unknownName()
{
    ListOperationResult result;
    result.nameUnknown = true;
    return result;
}

} // namespace

ListOperationResult loadListed(StoredState& state, const QString& name, const OperationPlace& place)
{
    const qsizetype position = positionOfName(state.entries(), name);
    if (position < 0)
        return unknownName();
    const QString listed = state.entries().at(position);
    ListOperationResult result = processed(Operation::Load, listed, QString(), state, place);
    if (result.performed)
        state.lastConfig = listed;
    return result;
}

ListOperationResult saveLive(StoredState& state, const QString& name, const QString& shown,
                             const OperationPlace& place)
{
    const SavePlan plan = planSave(state.entries(), name);
    if (plan.refusal)
        return refused(*plan.refusal);
    ListOperationResult result = processed(Operation::Save, shown, plan.name, state, place);
    if (result.performed && plan.joinsList)
        state.names << plan.name;
    return result;
}

ListOperationResult removeListed(StoredState& state, const QString& name,
                                 const OperationPlace& place)
{
    const RemovePlan plan = planRemove(state.entries(), name);
    if (plan.refusal)
        return refused(*plan.refusal);
    if (!plan.position)
        return unknownName();
    const QString listed = state.entries().at(*plan.position);
    ListOperationResult result = processed(Operation::Remove, listed, QString(), state, place);
    const ConfigFolders folders =
        ConfigFolders::fromTexts(place.fs9FolderText, place.sceneryFolderText);
    // The names follow "FS Original", which is never removed.
    for (int position : entriesLeavingAfterRemove(folders, state.entries(), listed))
        state.names.removeAt(position - 1);
    return result;
}
