#pragma once

#include "ConfigPaths.h"
#include "FileSystem.h"
#include "History.h"

#include <QString>
#include <QStringList>
#include <optional>

enum class Operation
{
    Load,
    Save,
    Remove
};

// The operation named by its exact upper-case word ("LOAD", "SAVE", "REMOVE"), else nothing.
std::optional<Operation> operationFromWord(const QString& word);

struct OperationResult
{
    // Both files were changed: two copies in place, or two files deleted.
    bool performed = false;
    // What the user must be told, titled "Error"; empty when all went well.
    QString message;
    // The history's entry that keeps what the operation replaced or deleted, once it is done.
    std::optional<HistoryEntry> kept;
};

// Copies or deletes the files of a configuration in the two folders given as the folder boxes'
// texts. Load copies the snapshot pair of configName over the live pair, Save copies the live
// pair to the snapshot pair of newName, Remove deletes the snapshot pair of configName.
// Nothing is done unless the folders and the files the operation needs exist. Both files change or
// neither does, across a crash too (see PairSwitch.h); a switch that a crash interrupted is
// completed first. With a history, the pair that a Load, a Save or a Remove replaces or deletes is
// kept there first, and nothing goes when it cannot be kept. entries, the list's names, tell the
// history which configuration a replaced live pair was a copy of. All of it, recovery first, runs
// under the locks of the two folders and the history (SwitchLocks.h).
OperationResult processFiles(Operation operation, const QString& configName, const QString& newName,
                             const QString& fs9FolderText, const QString& sceneryFolderText,
                             FileSystem& fileSystem, History* history = nullptr,
                             const QStringList& entries = {});

// Puts the pair kept as the entry of the history back at the paths it came from, both files or
// neither, keeping the pair it replaces in the history in turn (so a restore can be undone), told
// as matched (HistoryEntry::matched). Only an entry whose paths are the live pair or one snapshot
// pair in the given folders is put back: any program may write the history's folder.
OperationResult restoreFromHistory(const HistoryEntry& entry, History& history,
                                   const ConfigFolders& folders, FileSystem& fileSystem,
                                   const std::optional<QString>& matched = std::nullopt);

// Which configuration the live pair is a copy of, as the history tells it: the first listed
// configuration whose snapshot pair holds the same bytes, else empty; nothing when the live pair
// cannot be read.
std::optional<QString> liveCopyOf(const ConfigFolders& folders, const QStringList& entries);

// What the user is told when the operation on the files was done but the settings that record it
// could not be written (writeFailure says why): the change stands, and the settings do not show
// name as the configuration loaded last (a Load) or in the list (a Save, or a restored pair).
QString changeNotRecorded(Operation operation, const QString& name, const QString& writeFailure);
