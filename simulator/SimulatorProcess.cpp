#include "SimulatorProcess.h"

#include "ProcessTable.h"

namespace {

bool isSimulatorProgram(QStringView path)
{
    const qsizetype cut = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.sliced(cut + 1).compare(QLatin1String("fs9.exe"), Qt::CaseInsensitive) == 0;
}

} // namespace

SimulatorProcesses findSimulator(const ProcessTable& table)
{
    const auto processes = table.processes();
    if (!processes)
        return {};
    SimulatorProcesses found{SimulatorProcesses::State::NotRunning, {}};
    for (const ProcessEntry& process : *processes) {
        if (isSimulatorProgram(process.name) || isSimulatorProgram(process.firstArgument))
            found.pids.append(process.pid);
    }
    if (!found.pids.isEmpty())
        found.state = SimulatorProcesses::State::Running;
    return found;
}
