#pragma once

#include "Command.h"

class List : public Command
{
public:
    List();

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
