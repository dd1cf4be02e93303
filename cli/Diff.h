#pragma once

#include "Command.h"

class Diff : public Command
{
public:
    Diff();

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
