#pragma once

#include "Command.h"

// Exits 0 when nothing is wrong, 1 when the list has errors (or could not be read) and 3 when it
// has warnings only.
class Check : public Command
{
public:
    Check();

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
