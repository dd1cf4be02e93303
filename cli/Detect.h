#pragma once

#include "Command.h"

class Detect : public Command
{
public:
    Detect();

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
