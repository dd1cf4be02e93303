#include "Status.h"

#include "ConfigPaths.h"
#include "LiveMatch.h"
#include "Messages.h"
#include "SimulatorProcess.h"

Status::Status()
    : Command(QStringLiteral("status"),
              tr("Tells whether the simulator runs. Tells too which saved configuration the live "
                 "files are a copy of, if any."))
{}

int Status::execute(const QCommandLineParser&, const QStringList&)
{
    const SimulatorProcesses simulator = findSimulator(processes());
    QString running;
    switch (simulator.state) {
    case SimulatorProcesses::State::Running: {
        QStringList pids;
        for (qint64 pid : simulator.pids)
            pids << QString::number(pid);
        running = tr("running (fs9.exe, process %1)").arg(pids.join(QStringLiteral(", ")));
        break;
    }
    case SimulatorProcesses::State::NotRunning:
        running = tr("not running");
        break;
    case SimulatorProcesses::State::Unknown:
        running = tr("unknown: this system does not show its processes");
        break;
    }
    out() << tr("Simulator:  ") << running << '\n' << Qt::flush;

    const auto completed = readCompleted();
    if (!completed)
        return Failed;
    const StoredState& state = *completed;
    if (!state.fileFound())
        return fail(Messages::foldersNotKnown(settingsFile()));
    const LiveMatch match = matchLivePair(
        ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder()),
        state.entries());
    if (!match.error.isEmpty())
        return fail(tr("Live files: could not be read: %1").arg(match.error));
    QStringList quoted;
    for (const QString& name : match.names)
        quoted << u'"' + name + u'"';
    out() << tr("Live files: ")
          << (quoted.isEmpty() ? tr("a copy of no saved configuration")
                               : tr("a copy of %1").arg(quoted.join(QStringLiteral(", "))))
          << '\n'
          << Qt::flush;
    for (const QString& unreadable : match.unreadable)
        err() << unreadable << '\n';
    err() << Qt::flush;
    return Done;
}
