#pragma once

#include "FileSystem.h"

#include <QString>
#include <QStringList>
#include <array>

// One file of a pair: its destination is replaced by a copy of the source, or deleted when there
// is no source.
struct PairStep
{
    QString source;
    QString destination;
};

struct SwitchOutcome
{
    bool done = false;
    // The file the failed step was about, and the system's reason.
    QString failedPath;
    QString reason;
    // The failed step could not be undone; the next recovery completes the switch.
    bool leftPending = false;
};

// Replaces (or deletes) both destinations so that, after any failure or any crash, the pair is
// either both old or both new.
//
// Both copies are first written whole and flushed beside their destinations. A record naming
// every file of the switch is then written beside the main destination; from that moment the
// switch counts as decided. Each destination is renamed aside and its copy renamed into its place;
// the folders are flushed, the set-aside files and the record removed. A failure before the record
// removes the copies; a failure of a rename puts the set-aside files back. A crash anywhere leaves
// no record or a torn one (nothing was renamed yet: recovery removes the copies), or a whole
// record that recoverFolders completes.
SwitchOutcome switchPair(const std::array<PairStep, 2>& steps, FileSystem& fileSystem);

struct RecoveryOutcome
{
    bool done = true;
    QString reason;
};

// Completes a switch that a crash interrupted in any of the folders and removes Hangar's own
// temporaries there. Nothing else in the folders is touched.
RecoveryOutcome recoverFolders(const QStringList& folders, FileSystem& fileSystem);
