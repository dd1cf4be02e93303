#pragma once

#include <QList>

class ProcessTable;

// Whether the simulator runs: a process whose program is fs9.exe, letter case ignored, named by
// its short name or by the last part of its first argument (a Windows or a Unix path).
struct SimulatorProcesses
{
    enum class State
    {
        NotRunning,
        Running,
        Unknown // the system does not show its processes
    };

    State state = State::Unknown;
    QList<qint64> pids;
};

SimulatorProcesses findSimulator(const ProcessTable& table);
