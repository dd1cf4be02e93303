#pragma once

#include "Command.h"
#include "SimulatorProcess.h"

class Status : public Command
{
public:
    Status();

private:
    int printJson(const SimulatorProcesses& simulator);
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
