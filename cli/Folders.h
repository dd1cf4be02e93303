#pragma once

#include "Command.h"

class Folders : public Command
{
public:
    Folders();

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
