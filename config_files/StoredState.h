#pragma once

#include "FileSystem.h"

#include <QStringList>
#include <optional>

// What the settings file gives a run and takes back at its end: the two folders, the names listed
// after "FS Original" and the name last loaded. The window reads it when it opens and writes it
// when it closes; a hangarctl command that changes something does both around its change.
class StoredState
{
public:
    // Reads the settings file as start-up does. A folder that does not exist shows as the empty
    // text; only when both exist are the names read (trimmed; empty and unusable names, names
    // without both snapshot files and names listed already in another letter case skipped) and
    // the name last loaded. Changes no file.
    static StoredState read(const QString& settingsFile);
    // The same after completing what a crash interrupted: a write of the settings file and a
    // switch of a pair in the two folders. Only the holder of the settings lock may do this.
    static StoredState recoverAndRead(const QString& settingsFile, FileSystem& fileSystem);

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
    static StoredState readFile(const QString& settingsFile, FileSystem* recovery);
    QStringList slotValues() const;

    bool m_fileFound = false;
    bool m_namesRead = false;
    std::optional<QString> m_missingFs9Folder;
    std::optional<QString> m_missingSceneryFolder;
    QStringList m_keptSlots;
};
