#include "Restore.h"

#include "HistoryRestore.h"

#include <QCommandLineParser>

Restore::Restore()
    : Restore(
          QStringLiteral("restore"),
          tr("Puts a kept pair back. Copies the two files of the history's entry ID back to "
             "where they came from, both or neither, and keeps the pair they replace in the "
             "history in turn, and prints one line that says what it put back and where the "
             "pair it replaced is kept. A configuration's pair that comes back joins the list "
             "again; one that the restore deletes leaves it."),
          {{QStringLiteral("ID"), tr("The entry's number, as \"hangarctl history\" shows it.")}})
{}

Restore::Restore(QString name, QString description, QList<Argument> arguments)
    : Command(std::move(name), std::move(description), std::move(arguments), {forceOption()})
{}

int Restore::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    // Undo takes no entry: it restores the newest.
    std::optional<int> id;
    if (!arguments.isEmpty()) {
        bool isNumber = false;
        id = arguments.first().toInt(&isNumber);
        if (!isNumber)
            return wrongUsage(
                tr("ID must be an entry's number, not \"%1\".").arg(arguments.first()),
                QCoreApplication::applicationName() + u' ' + name());
    }
    if (refusedWhileSimulatorRuns(parser))
        return Failed;
    auto state = lockAndRead();
    if (!state)
        return Failed;
    History kept = history();
    const RestoreResult result = id ? restoreEntry(*id, *state, kept, fileSystem())
                                    : undoLastChange(*state, kept, fileSystem());
    if (!result.performed)
        return fail(result.message);
    out() << result.message << '\n' << Qt::flush;
    return result.listChanged ? write(*state) : Done;
}

Undo::Undo()
    : Restore(QStringLiteral("undo"),
              tr("Undoes the last change. Restores the history's newest entry, as \"hangarctl "
                 "restore\" does: what the last Load, Save, Remove or restore replaced comes "
                 "back, so a second undo returns to where the first began."),
              {})
{}
