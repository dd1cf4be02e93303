#pragma once

#include "FileSystem.h"
#include "History.h"
#include "StoredState.h"

#include <QString>

struct RestoreResult
{
    // The kept pair is back at the paths it came from.
    bool performed = false;
    // Why nothing changed (titled "Error") when not performed; else one line that tells what was
    // put back and where the pair it replaced is kept.
    QString message;
    // The list of configurations changed and the settings must be written.
    bool listChanged = false;
};

// Puts the pair kept as the history's entry back where it came from, both files or neither,
// through the same switch as a Load; the pair it replaces is kept in turn, so that the restore can
// be undone, and an entry that kept no file deletes what stands at its paths now. A
// configuration's snapshot pair that comes back is listed again under its name (refused, with
// nothing changed, when the list is full); one that is deleted leaves the list. The state gives
// the folders and the list, and takes the list's changes for the caller to write.
RestoreResult restoreEntry(int id, StoredState& state, History& history, FileSystem& fileSystem);

// Restores the history's newest entry: what the last change replaced or deleted.
RestoreResult undoLastChange(StoredState& state, History& history, FileSystem& fileSystem);

// Whether the entry keeps a live pair (FS9.cfg and Scenery.cfg) rather than a snapshot pair.
bool isLivePair(const HistoryEntry& entry);

// What the entry's pair was, for the user: "the pair of "Night"", "the live files, a copy of no
// saved configuration", or the names of its files.
QString keptPairText(const HistoryEntry& entry);
