#include "Run.h"

#include "ChildProcess.h"
#include "ConfigPaths.h"
#include "LiveMatch.h"
#include "Messages.h"
#include "SimulatorProcess.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

QCommandLineOption noSaveBackOption()
{
    return {QStringLiteral("no-save-back"),
            Run::tr("Leaves NAME as it was: what the run changes stays in the live files only.")};
}

// One line on standard error, beside what the command itself prints on standard output.
void say(const QString& line)
{
    Command::err() << line << '\n' << Qt::flush;
}

QString nothingSavedBack(const QString& name, const QString& reason)
{
    return Run::tr("Nothing was saved back into \"%1\": %2").arg(name, reason);
}

} // namespace

Run::Run()
    : Command(
          QStringLiteral("run"),
          tr("Loads a configuration, runs a program and keeps what it changed. Loads NAME "
             "as \"hangarctl load\" does, runs COMMAND (the simulator, or what starts it) "
             "with the same input, output and environment, and passes Ctrl+C, SIGTERM and "
             "SIGHUP on to it. When it ends, saves the live files back into NAME if the run "
             "changed them, as \"hangarctl save\" does, so that \"hangarctl undo\" takes the "
             "changes back; nothing is saved back when another configuration was loaded "
             "meanwhile. Exits with the status of COMMAND, or 125 when NAME could not be "
             "loaded, 126 when COMMAND cannot be run, 127 when it is not found."),
          {{QStringLiteral("NAME"), tr("The configuration, as \"hangarctl list\" shows it.")},
           {QStringLiteral("COMMAND"), tr("The program to run, then its arguments."), false, true}},
          {forceOption(), noSaveBackOption()})
{}

int Run::run(const QStringList& arguments, const SharedOptions& shared, CommandServices& services)
{
    m_executed = false;
    const int status = Command::run(arguments, shared, services);
    return status == WrongUsage && !m_executed ? int(ChildExit::NotStarted) : status;
}

int Run::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    m_executed = true;
    const QString& name = arguments.first();
    const QStringList command = arguments.sliced(1);
    const std::optional<Loaded> loaded = load(parser, name);
    if (!loaded)
        return ChildExit::NotStarted;
    const ChildExit ended = runChildProcess(command);
    if (!ended.error.isEmpty()) {
        fail(tr("%1: %2. \"%3\" stays loaded.").arg(command.first(), ended.error, name));
        return ended.status;
    }
    // A command that handed the simulator to another process and returned at once: what the
    // flight changes from now on is written after this.
    const SimulatorProcesses simulator = findSimulator(processes());
    if (simulator.state == SimulatorProcesses::State::Running) {
        QStringList pids;
        for (const qint64 pid : simulator.pids)
            pids << QString::number(pid);
        say(tr("The simulator still runs (fs9.exe, process %1): what it changes from now on stays "
               "in the live files only.")
                .arg(pids.join(QStringLiteral(", "))));
    }
    if (parser.isSet(noSaveBackOption())) {
        say(tr("\"%1\" was left as it was: what the run changed is in the live files only.")
                .arg(name));
        return ended.status;
    }
    if (saveBack(name, *loaded))
        return ended.status;
    say(nothingSavedBack(name, tr("what the run changed is in the live files only.")));
    // A failed save-back must not pass for a run that went well.
    return ended.status == 0 ? int(ChildExit::NotStarted) : ended.status;
}

std::optional<Run::Loaded> Run::load(const QCommandLineParser& parser, const QString& name)
{
    if (refusedWhileSimulatorRuns(parser))
        return std::nullopt;
    auto state = lockAndRead();
    if (!state)
        return std::nullopt;
    if (!state->fileFound()) {
        fail(Messages::foldersNotKnown(settingsFile()));
        return std::nullopt;
    }
    History kept = history();
    const ListOperationResult result = loadListed(*state, name, place(*state, kept));
    if (!result.performed) {
        fail(result.nameUnknown ? Messages::notListed(*state, name) : result.message);
        return std::nullopt;
    }
    warnIfOnlyKept(result);
    record(*state, Operation::Load, name);
    // Read under the lock, so that it is the pair this Load put in place.
    Loaded loaded{state->storedFs9Folder(), state->storedSceneryFolder(), {}};
    QString error;
    const auto pair =
        readLivePair(ConfigFolders::fromTexts(loaded.fs9Folder, loaded.sceneryFolder), &error);
    if (!pair) {
        fail(error);
        return std::nullopt;
    }
    loaded.pair = *pair;
    // A flight lasts hours: the window and the other commands must not wait for it.
    unlock();
    return loaded;
}

bool Run::saveBack(const QString& name, const Loaded& loaded)
{
    auto state = lockAndRead();
    if (!state)
        return false;
    const auto nothingSaved = [&](const QString& reason) {
        say(nothingSavedBack(name, reason));
        return true;
    };
    if (state->storedFs9Folder() != loaded.fs9Folder ||
        state->storedSceneryFolder() != loaded.sceneryFolder)
        return nothingSaved(tr("the folders of FS9.cfg and Scenery.cfg changed during the run."));
    // No name last loaded means a folder is missing now, which the reading below reports.
    if (state->lastConfig && *state->lastConfig != name)
        return nothingSaved(tr("\"%1\" was loaded during the run.").arg(*state->lastConfig));
    const ConfigFolders folders = ConfigFolders::fromTexts(loaded.fs9Folder, loaded.sceneryFolder);
    QString error;
    const auto live = readLivePair(folders, &error);
    if (!live) {
        fail(error);
        return false;
    }
    QStringList changed;
    const QString paths[] = {folders.liveMain(), folders.liveScenery()};
    for (int i = 0; i < 2; ++i) {
        if ((*live)[i] != loaded.pair[i])
            changed << QFileInfo(paths[i]).fileName();
    }
    if (changed.isEmpty()) {
        say(tr("The run changed nothing in the live files: \"%1\" is as it was.").arg(name));
        return true;
    }
    // A Load in a window, which writes the name last loaded only when it closes, or a pair put
    // in place by hand: the live pair is no longer the flight's.
    const LiveMatch match = matchLivePair(folders, state->entries());
    if (!match.error.isEmpty()) {
        fail(match.error);
        return false;
    }
    if (match.names.contains(name)) {
        say(tr("\"%1\" holds the live files already.").arg(name));
        return true;
    }
    if (!match.names.isEmpty()) {
        return nothingSaved(tr("the live files are a copy of \"%1\".")
                                .arg(match.names.join(QStringLiteral("\", \""))));
    }

    const qsizetype listed = state->names.size();
    History kept = history();
    const ListOperationResult result =
        saveLive(*state, name, state->entries().first(), place(*state, kept));
    if (!result.performed) {
        fail(result.message);
        return false;
    }
    if (state->names.size() != listed)
        record(*state, Operation::Save, name);
    say(tr(R"(Kept what the run changed in %1 in "%2"; "hangarctl undo" takes it back.)")
            .arg(changed.join(tr(" and ")), name));
    return true;
}
