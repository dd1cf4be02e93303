#pragma once

#include "FileSystem.h"
#include "History.h"
#include "SwitchLocks.h"

#include <QStringList>
#include <optional>

// What the settings file gives a run and takes back at its end: the two folders, the names listed
// after "FS Original" and the name last loaded. The window reads it when it opens and writes it
// when it closes; a hangarctl command that changes something does both around its change.
class StoredState
{
public:
    // Reads the settings file as start-up does. A folder is taken relative to the settings
    // file's folder; one that does not exist shows as the empty text; only when both exist are
    // the names read (blanks trimmed as Windows does; empty and unusable names, names without both
    // snapshot files and names listed already in another letter case skipped) and the name last
    // loaded. Changes no file.
    static StoredState read(const QString& settingsFile);
    // The same after completing, under the switch locks of the two folders and the history
    // (SwitchLocks.h), a switch that a crash interrupted, its replaced pair kept in the history
    // (without one, a switch whose pair is to be kept waits); the locks stay taken in locks, so
    // that what the caller reads next is what the recovery left. When another process holds them
    // too long, nothing is completed and the message, when given, says why.
    static StoredState readCompleted(const QString& settingsFile, History* history,
                                     FileSystem& fileSystem, SwitchLocks& locks,
                                     QString* message = nullptr);
    // As readCompleted, after removing what a crash left of a write of the settings file. Only the
    // holder of the settings lock may do this.
    static StoredState recoverAndRead(const QString& settingsFile, History* history,
                                      FileSystem& fileSystem, SwitchLocks& locks,
                                      QString* message = nullptr);

    // Writes the folders, the nine slots and the name last loaded in one atomic replacement,
    // keeping every other byte of the file. A folder shown empty because it was missing keeps its
    // stored text; when the names could not be read, the slots the file held keep their places
    // and the names added since follow them. On failure, the message tells the user why.
    bool write(const QString& settingsFile, QString* message) const;

    bool fileFound() const { return m_fileFound; }
    bool namesRead() const { return m_namesRead; }
    // The folders as the file holds them, whether or not they exist.
    QString storedFs9Folder() const { return m_missingFs9Folder.value_or(fs9Folder); }
    QString storedSceneryFolder() const { return m_missingSceneryFolder.value_or(sceneryFolder); }
    // "FS Original", then the names.
    QStringList entries() const;

    QString fs9Folder;
    QString sceneryFolder;
    QStringList names;
    // No value until the names are read or a configuration is loaded; then written at the end.
    std::optional<QString> lastConfig;

private:
    struct Completion
    {
        History* history;
        FileSystem& fileSystem;
        SwitchLocks& locks;
        QString* message;
    };

    static StoredState readFile(const QString& settingsFile, const Completion* completion);
    QStringList slotValues() const;
    // The folder to write: the text the file held when it still names the same folder.
    static QString folderText(const QString& folder, const QString& storedText,
                              const QString& settingsFile);

    bool m_fileFound = false;
    bool m_namesRead = false;
    std::optional<QString> m_missingFs9Folder;
    std::optional<QString> m_missingSceneryFolder;
    // The folders' texts as the file holds them, a relative one as it was typed.
    QString m_fs9Text;
    QString m_sceneryText;
    QStringList m_keptSlots;
};
