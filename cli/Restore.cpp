#include "Restore.h"

#include "ConfigList.h"
#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "FileOperation.h"
#include "Messages.h"

#include <QCommandLineParser>

Restore::Restore()
    : Restore(
          QStringLiteral("restore"),
          tr("Puts a kept pair back. Copies the two files of the history's entry ID back to "
             "where they came from, both or neither, and keeps the pair they replace in the "
             "history in turn. A configuration that a Remove took off the list joins it "
             "again."),
          {{QStringLiteral("ID"), tr("The entry's number, as \"hangarctl history\" shows it.")}})
{}

Restore::Restore(QString name, QString description, QList<Argument> arguments)
    : Command(std::move(name), std::move(description), std::move(arguments), {forceOption()})
{}

std::optional<int> Restore::chosenEntry(const History&, const QStringList& arguments)
{
    bool isNumber = false;
    const int id = arguments.first().toInt(&isNumber);
    if (!isNumber) {
        wrongUsage(tr("ID must be an entry's number, not \"%1\".").arg(arguments.first()),
                   QCoreApplication::applicationName() + u' ' + name());
        return std::nullopt;
    }
    return id;
}

int Restore::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (refusedWhileSimulatorRuns(parser))
        return Failed;
    auto state = lockAndRead();
    if (!state)
        return Failed;
    History kept = history();
    const auto id = chosenEntry(kept, arguments);
    if (!id)
        return arguments.isEmpty() ? Failed : WrongUsage;

    // The snapshot pair of a configuration that is not listed (a Remove took it off) joins the
    // list again, as a Save under its name would add it: refused before anything changes when
    // the list is full.
    const QList<HistoryEntry> entries = kept.entries();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const HistoryEntry& e) { return e.id == *id; });
    const ConfigFolders folders =
        ConfigFolders::fromTexts(state->storedFs9Folder(), state->storedSceneryFolder());
    bool joinsList = false;
    if (entry != entries.end() && state->namesRead() && !whyNameUnusable(entry->name) &&
        entry->files[0].path == folders.snapshotMain(entry->name) &&
        entry->files[1].path == folders.snapshotScenery(entry->name)) {
        const SavePlan plan = planSave(state->entries(), entry->name);
        if (plan.refusal)
            return fail(*plan.refusal);
        joinsList = plan.joinsList;
    }
    const OperationResult result = restoreFromHistory(*id, kept, fileSystem());
    if (!result.performed)
        return fail(result.message);
    if (!joinsList)
        return Done;
    state->names << entry->name;
    return record(*state, Operation::Save, entry->name);
}

Undo::Undo()
    : Restore(QStringLiteral("undo"),
              tr("Undoes the last change. Restores the history's newest entry, as \"hangarctl "
                 "restore\" does: what the last Load, Save, Remove or restore replaced comes "
                 "back, so a second undo returns to where the first began."),
              {})
{}

std::optional<int> Undo::chosenEntry(const History& history, const QStringList&)
{
    const QList<HistoryEntry> entries = history.entries();
    if (entries.isEmpty()) {
        fail(tr("The history keeps nothing yet: there is nothing to undo."));
        return std::nullopt;
    }
    return entries.first().id;
}
