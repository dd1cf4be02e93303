#pragma once

#include "Command.h"

#include <array>

// A configuration that follows the flight: loads it, runs a program (the simulator, or what
// starts it) and, when the program ends, saves the live pair back into it if the run changed it.
// No lock is held while the program runs: the simulator guard of the window and of the other
// commands sees it running.
class Run : public Command
{
public:
    Run();

    // The program's exit status, or as env and nice give theirs: 125 when nothing was started
    // (wrong usage included), 126 when the program cannot be run, 127 when it is not found.
    int run(const QStringList& arguments, const SharedOptions& shared,
            CommandServices& services) override;

private:
    // What the Load put in place, to tell the run's changes by.
    struct Loaded
    {
        QString fs9Folder;
        QString sceneryFolder;
        std::array<QByteArray, 2> pair;
    };

    int execute(const QCommandLineParser& parser, const QStringList& arguments) override;
    // Loads the configuration as "hangarctl load" does and reads what it put in place, then lets
    // go of the lock; nothing, with the reason printed, when the Load was refused or failed.
    std::optional<Loaded> load(const QCommandLineParser& parser, const QString& name);
    // Saves the live pair into the configuration as "hangarctl save" does, when the run changed
    // it and nothing else replaced it meanwhile; says in one line what it kept or why nothing.
    // False, with the reason printed, when it could not.
    bool saveBack(const QString& name, const Loaded& loaded);

    bool m_executed = false;
};
