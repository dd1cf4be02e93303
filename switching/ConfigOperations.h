#pragma once

#include "FileOperation.h"
#include "FileSystem.h"
#include "History.h"
#include "StoredState.h"

#include <QString>

// The three operations on the list of configurations, as the window's buttons and hangarctl's
// commands both perform them on the state of one run: the list's rules first, then the file
// operation (recovery, checks and switch, under the locks), then the list's update in the state.
// Whoever calls them refuses first while the simulator runs (SimulatorGuard.h) and writes the state
// afterwards.

// Where an operation runs: the folders as the folder boxes give them, the history that keeps what
// the operation replaces or deletes, and the disk.
struct OperationPlace
{
    QString fs9FolderText;
    QString sceneryFolderText;
    History& history;
    FileSystem& fileSystem;
};

// What a list operation did. nameUnknown: the name picks no configuration in the list, and nothing
// was done (no message either: the window has nothing to say, hangarctl names the list).
struct ListOperationResult : OperationResult
{
    bool nameUnknown = false;
};

// Copies the pair of the listed configuration the name picks over the live pair; once done, the
// state's name last loaded is its listed spelling.
ListOperationResult loadListed(StoredState& state, const QString& name,
                               const OperationPlace& place);

// Copies the live pair to the pair of the name, or of the listed configuration it picks; a name
// the list does not hold joins it once its pair is saved. The messages of the checks name shown,
// the configuration the load list shows.
ListOperationResult saveLive(StoredState& state, const QString& name, const QString& shown,
                             const OperationPlace& place);

// Deletes the pair of the listed configuration the name picks; every listed spelling of it whose
// pair is no longer whole leaves the list, whatever the deletion managed.
ListOperationResult removeListed(StoredState& state, const QString& name,
                                 const OperationPlace& place);
