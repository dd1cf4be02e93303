#include "Restore.h"

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

std::optional<RestoreResult> Restore::put(StoredState& state, History& history,
                                          const QStringList& arguments)
{
    bool isNumber = false;
    const int id = arguments.first().toInt(&isNumber);
    if (!isNumber) {
        wrongUsage(tr("ID must be an entry's number, not \"%1\".").arg(arguments.first()),
                   QCoreApplication::applicationName() + u' ' + name());
        return std::nullopt;
    }
    return restoreEntry(id, state, history, fileSystem());
}

int Restore::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (refusedWhileSimulatorRuns(parser))
        return Failed;
    auto state = lockAndRead();
    if (!state)
        return Failed;
    History kept = history();
    const auto result = put(*state, kept, arguments);
    if (!result)
        return WrongUsage;
    if (!result->performed)
        return fail(result->message);
    return result->listChanged ? write(*state) : Done;
}

Undo::Undo()
    : Restore(QStringLiteral("undo"),
              tr("Undoes the last change. Restores the history's newest entry, as \"hangarctl "
                 "restore\" does: what the last Load, Save, Remove or restore replaced comes "
                 "back, so a second undo returns to where the first began."),
              {})
{}

std::optional<RestoreResult> Undo::put(StoredState& state, History& history, const QStringList&)
{
    return undoLastChange(state, history, fileSystem());
}
