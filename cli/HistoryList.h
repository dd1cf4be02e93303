#pragma once

#include "Command.h"

class HistoryList : public Command
{
public:
    HistoryList();

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
};
