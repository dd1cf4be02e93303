#pragma once

#include "Command.h"

class Status : public Command
{
public:
    Status();

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
