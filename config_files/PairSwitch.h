#pragma once

#include "FileSystem.h"
#include "History.h"

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
    bool done = false;
    // The file the failed step was about, and the system's reason.
    QString failedPath;
    QString reason;
    // The failed step could not be undone; the next recovery completes the switch.
    bool leftPending = false;
    // The history could not keep the pair that goes (failedPath is its folder).
    bool notKept = false;
};

// Replaces (or deletes) both destinations so that, after any failure or any crash, the pair is
// either both old or both new; with a history, the old pair is kept there before it goes.
//
// Both copies are first written whole and flushed beside their destinations. A record naming
// every file of the switch (and the history entry the old pair becomes) is then written beside
// the main destination; from that moment the switch counts as decided. Both destinations are
// renamed aside, the set-aside files handed to the history, and only then is each copy renamed
// into its place; the folders are flushed, the set-aside files left over and the record removed.
// A failure before the record removes the copies. A failure before the first copy is in place
// (a rename, or the history that cannot keep the pair: its disk is full, its folder cannot be
// written) puts the set-aside files back: nothing goes unless it is kept. Once a copy is in place
// the switch only goes forward. A crash leaves no record or a torn one (nothing was renamed yet:
// recovery removes the copies), or a whole record that recoverFolders completes, keeping the
// set-aside files in the history rather than deleting them.
SwitchOutcome switchPair(const std::array<PairStep, 2>& pair, FileSystem& fileSystem,
                         const KeepRequest& keep = {});

struct RecoveryOutcome
{
    bool done = true;
    QString reason;
};

// Completes a switch that a crash interrupted in any of the folders and removes Hangar's own
// temporaries there. Nothing else in the folders is touched.
RecoveryOutcome recoverFolders(const QStringList& folders, FileSystem& fileSystem);
