#pragma once

#include "Command.h"

// Puts a pair that the history keeps back where it came from, through the same both-or-neither
// switch as a Load; the pair it replaces is kept in turn, so a restore can be undone too.
class Restore : public Command
{
public:
    Restore();

protected:
    Restore(QString name, QString description, QList<Argument> arguments);

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) final;
};

// Restores the newest entry: what the last operation replaced or deleted.
class Undo : public Restore
{
public:
    Undo();
};
