#include "SimulatorGuard.h"

#include "SimulatorProcess.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(SimulatorGuard)
};

} // namespace

std::optional<QString> refusalWhileSimulatorRuns(const ProcessTable& processes)
{
    const SimulatorProcesses simulator = findSimulator(processes);
    if (simulator.state != SimulatorProcesses::State::Running)
        return std::nullopt;
    QStringList numbers;
    for (qint64 pid : simulator.pids)
        numbers << QString::number(pid);
    return Texts::tr("The simulator is running (fs9.exe, process %1). When it quits, it writes "
                     "its own FS9.cfg and Scenery.cfg over the live files: a configuration loaded "
                     "now would be lost, and one saved now would miss what it writes then. Quit "
                     "the simulator first. Nothing was changed.")
        .arg(numbers.join(QStringLiteral(", ")));
}
