#pragma once

#include "Command.h"

class Diff : public Command
{
public:
    Diff();

private:
    static QCommandLineOption exitCodeOption();
    static QCommandLineOption quietOption();
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
