#pragma once

#include "FileSystem.h"
#include "History.h"
#include "StoredState.h"

#include <QString>

struct RestoreResult
{
    // The kept pair is back at the paths it came from.
    bool performed = false;
    // Why nothing changed (titled "Error"); empty when all went well.
    QString message;
    // The list of configurations changed and the settings must be written.
    bool listChanged = false;
};

// Puts the pair kept as the history's entry back where it came from, both files or neither,
// through the same switch as a Load; the pair it replaces is kept in turn, so that the restore can
// be undone. A configuration's snapshot pair that comes back joins the list again under its name
// (refused, with nothing changed, when the list is full); one that a restore deletes leaves it.
// The state gives the folders and the list, and takes the list's changes for the caller to write.
RestoreResult restoreEntry(int id, StoredState& state, History& history, FileSystem& fileSystem);

// Restores the history's newest entry: what the last change replaced or deleted.
RestoreResult undoLastChange(StoredState& state, History& history, FileSystem& fileSystem);
