#pragma once

#include "Command.h"

// A command on the pair of files of one configuration, NAME: it works like the window's button
// pressed right after start-up, on the state read under the settings lock.
class PairCommand : public Command
{
protected:
    // A command that guardsSimulator refuses while the simulator runs, unless forced: the
    // simulator writes the live files back when it quits, which would undo the change.
    PairCommand(QString name, QString description, QString nameDescription,
                bool guardsSimulator = false);

    virtual int change(StoredState& state, const QString& name) = 0;

private:
    int execute(const QCommandLineParser& parser, const QStringList& arguments) final;

    bool m_guardsSimulator;
};
