#pragma once

#include <QString>
#include <QStringList>

// How another program run by runChildProcess ended, as a shell reports it.
struct ChildExit
{
    enum Status
    {
        // Nothing was started: this program could not prepare the start.
        NotStarted = 125,
        // The program was found but could not be run (no permission, not a program).
        CannotRun = 126,
        NotFound = 127,
        // Added to the number of the signal that ended it.
        SignalBase = 128
    };

    // The program's own exit status, 128 plus the number of the signal that ended it, or one of
    // the three statuses of a program that never ran.
    int status = NotStarted;
    // Why it never ran, with the system's reason; empty when it ran.
    QString error;
};

// Runs the program named first in the command (looked up in PATH when the name holds no
// separator) with the other words as its arguments, and waits for it to end. It shares this
// program's standard input, output and error and gets its environment. While it runs, the
// signals that end a program from outside (SIGINT, SIGTERM, SIGHUP) are passed on to it and do
// not end this program, which then reports how the child ended; Windows sends a console's Ctrl+C
// to every program attached to it, and this one ignores it while waiting. Qt's QProcess is not
// used: it neither tells a missing program from one that cannot run nor, in Qt 6.4, names the
// signal that ended a program.
ChildExit runChildProcess(const QStringList& command);
