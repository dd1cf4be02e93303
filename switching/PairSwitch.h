#pragma once

#include "ConfigPaths.h"
#include "FileSystem.h"
#include "History.h"
#include "SwitchLocks.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// One file of a pair: its destination is replaced by a copy of the source, or deleted when there
// is no source.
struct PairStep
{
    QString source;
    QString destination;
};

// Where the pair that goes is kept, and why it goes. Without a history nothing is kept.
struct KeepRequest
{
    History* history = nullptr;
    QString operation;
    QString name;
    // What the pair that goes was (HistoryEntry::matched).
    std::optional<QString> matched;
};

struct SwitchOutcome
{
    // Both destinations hold their new files (a deletion: are gone), whether or not their names
    // are yet known to be on disk (see leftPending).
    bool inPlace = false;
    // The file the failed step was about, and the system's reason.
    QString failedPath;
    QString reason;
    // The record stays: a failed step could not be undone, or the files in place could not be
    // flushed. The next recovery completes the switch.
    bool leftPending = false;
    // The history could not keep the pair that goes (failedPath is its folder).
    bool notKept = false;
};

// Replaces (or deletes) both destinations so that, after any failure or any crash, the pair is
// either both old or both new, and each destination always holds a file; with a history, the old
// pair is kept there before it goes. Only plain files are switched: a folder, a pipe or a device
// at any of the paths is refused before anything is touched.
//
// Both copies are first written whole and flushed beside their destinations, and their names
// flushed with the folders. A record naming every file of the switch, which file each destination
// is, and the history entry the old pair becomes, is then written and flushed beside the main
// destination; from that moment the switch counts as decided. Each destination's file is given a
// second name beside it (a copy when it has other names already, or the file system has no second
// names; a deletion renames it), the set-aside files are handed to the history, and only then is
// each copy renamed over its destination in one step. The folders are flushed, the set-aside
// files left over and the record removed. A failure before the record removes the copies. A
// failure before the first copy is in place (a rename, or the history that cannot keep the pair)
// drops the second names: nothing goes unless it is kept. Once a copy is in place the switch only
// goes forward.
SwitchOutcome switchPair(const std::array<PairStep, 2>& pair, FileSystem& fileSystem,
                         const KeepRequest& keep = {});

struct RecoveryOutcome
{
    bool done = true;
    QString reason;
};

// Completes, or takes back, a switch that a crash interrupted in any of the folders, and removes
// Hangar's own temporaries there; nothing else in the folders is touched. A record is input like
// any other file: one that names a file outside the folders or anything Hangar does not make is
// left as it is and reported. Recovery tells the files by identity, not by name: a copy that is
// lost while its destination was not replaced takes the switch back; a file another program put
// at a destination meanwhile is kept beside it. The set-aside pair is kept in the given history
// (a record whose pair is to be kept waits, with its temporaries, for a recovery that has one).
RecoveryOutcome recoverFolders(const ConfigFolders& folders, FileSystem& fileSystem,
                               History* history = nullptr);

// Recovery once per operation: recoverFolders under the locks given, unless it ran already while
// this process has held them, with a history and nothing left waiting since (SwitchLocks::settled).
RecoveryOutcome recoverOnce(SwitchLocks& locks, const ConfigFolders& folders,
                            FileSystem& fileSystem, History* history);
