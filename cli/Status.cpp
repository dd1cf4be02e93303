#include "Status.h"

#include "ConfigPaths.h"
#include "LiveMatch.h"
#include "Messages.h"
#include "SimulatorProcess.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

Status::Status()
    : Command(QStringLiteral("status"),
              tr("Tells whether the simulator runs. Tells too which saved configuration the live "
                 "files are a copy of, if any."),
              {},
              {jsonOption(tr("Prints a JSON object instead: \"simulator\" (\"running\", "
                             "\"notRunning\" or \"unknown\"), \"processes\" (their numbers), "
                             "\"copyOf\" (the configurations the live files are a copy of) and "
                             "\"unreadable\" (snapshot files that could not be read)."))})
{}

int Status::execute(const QCommandLineParser& parser, const QStringList&)
{
    const SimulatorProcesses simulator = findSimulator(processes());
    if (parser.isSet(jsonOption()))
        return printJson(simulator);
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

    const StoredState state = read();
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

int Status::printJson(const SimulatorProcesses& simulator)
{
    static const char* const states[] = {"running", "notRunning", "unknown"};
    const int state = simulator.state == SimulatorProcesses::State::Running      ? 0
                      : simulator.state == SimulatorProcesses::State::NotRunning ? 1
                                                                                 : 2;
    QJsonArray pids;
    for (qint64 pid : simulator.pids)
        pids.append(pid);
    QJsonObject object{{QStringLiteral("simulator"), QLatin1String(states[state])},
                       {QStringLiteral("processes"), pids}};
    const StoredState stored = read();
    if (!stored.fileFound())
        return fail(Messages::foldersNotKnown(settingsFile()));
    const LiveMatch match = matchLivePair(
        ConfigFolders::fromTexts(stored.storedFs9Folder(), stored.storedSceneryFolder()),
        stored.entries());
    if (!match.error.isEmpty())
        return fail(tr("Live files: could not be read: %1").arg(match.error));
    object.insert(QStringLiteral("copyOf"), QJsonArray::fromStringList(match.names));
    object.insert(QStringLiteral("unreadable"), QJsonArray::fromStringList(match.unreadable));
    out() << QJsonDocument(object).toJson() << Qt::flush;
    return Done;
}
