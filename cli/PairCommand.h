#pragma once

#include "Command.h"
#include "ConfigPaths.h"

// A command on the pair of files of one configuration, NAME: it works like the window's button
// pressed right after start-up, on the state read under the settings lock.
class PairCommand : public Command
{
protected:
    PairCommand(QString name, QString description, QString nameDescription);

    virtual int change(StoredState& state, const QString& name) = 0;

    static ConfigFolders foldersOf(const StoredState& state);

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) final;
};
