#pragma once

#include "FileSystem.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <array>
#include <optional>

class AppInfo;

// One file of a kept pair: the path it came from and the name of its copy in the history.
struct KeptFile
{
    QString path;
    // Empty when there was no file at the path.
    QString keptAs;
    qint64 size = 0;
    QDateTime modified;
    // Of its bytes (ContentFingerprint.h); empty in entries kept before fingerprints were.
    QString fingerprint;
};

// A pair that an operation replaced or deleted.
struct HistoryEntry
{
    int id = 0;
    QDateTime time;
    // The operation's word ("LOAD", "SAVE", "REMOVE", "RESTORE") and the configuration it named.
    QString operation;
    QString name;
    std::array<KeptFile, 2> files;
    // The configuration the kept pair was when it went: a configuration's own snapshot pair, or a
    // live pair that was a byte-for-byte copy of it; empty for a live pair that matched none (the
    // files as the simulator left them). No value when it was not told (older entries).
    std::optional<QString> matched;

    QJsonObject toJson() const;
    static std::optional<HistoryEntry> fromJson(const QJsonObject& object);
};

enum class KeepOutcome
{
    Kept,
    // Nothing of the entry was kept and the set-aside files are where they were.
    Refused,
    // Part of the entry could not be undone; the recovery of the switch completes it.
    Pending
};

// The pairs that Hangar replaced or deleted, kept so that any of them can be put back.
//
// On disk, all in the history's one folder (one folder: one flush for all the new names):
//   <time>-<name>  the bytes of one kept file, e.g. "20250107-211544-120-Scenery.cfg" for a
//                  Scenery.cfg kept then; stored once however many entries hold the same bytes
//                  (a file is compared with the kept files of its size and fingerprint)
//   <id>.json      one entry: its number, time, operation, name, what its pair matched (an entry
//                  may keep no file: the pair was not there), and for each of the two files
//                  the path it came from, the name of its copy, its size, its time of last
//                  change and its fingerprint; other keys in it are not the history's (the
//                  entry may be the switch's record under a second name)
// An entry counts, and is listed, only when its metadata file and every file it names are whole
// on disk. The pair switch names the entry, with where its files go, in its record before anything
// is renamed; the set-aside files are then flushed and renamed into the history (copied when it
// is on another file system), the metadata is written last, and the switch flushes the history's
// folder with its own. A crash at any point leaves either no listed entry or a whole one, and the
// recovery of the switch completes the entry from its record.
//
// Bounds: after an entry is kept, the newest entries are kept while there are at most maxEntries
// of them and the files they hold, each counted once, fit in maxBytes; the newest entry always
// stays. An entry that holds the same two files from the same two paths as a newer one is
// dropped: loading back and forth between two configurations leaves two entries.
class History
{
public:
    History(QString folder, int maxEntries, qint64 maxBytes);
    // The history of the settings file, where and as large as its settings say.
    static History forSettings(const AppInfo& appInfo, const QString& settingsFile);

    const QString& folder() const { return m_folder; }
    int maxEntries() const { return m_maxEntries; }
    qint64 maxBytes() const { return m_maxBytes; }

    // The entries that are whole on disk, newest first.
    QList<HistoryEntry> entries() const;
    QString keptFilePath(const QString& keptAs) const;

    // A new entry for the pair at the two paths, numbered after every entry on disk, with the
    // files there now as they are: the name of a kept file with the same bytes, else the name
    // they would be kept as. A path that names no file (or a link that points nowhere) has
    // nothing to keep.
    HistoryEntry newEntry(const QString& operation, const QString& name,
                          const std::array<QString, 2>& paths) const;

    // Keeps the files at the set-aside paths as the entry's pair, refused when either is not the
    // file that the entry describes. A file whose bytes are kept already stays where it is for the
    // caller to remove; any other is renamed into the history when it is on the same file system,
    // else copied. record, when given, is a flushed file that describes the entry (the switch's
    // record): where it can, it becomes the entry's metadata under a second name, with nothing
    // more to write. The caller flushes the history (flushAndPrune) before it forgets the
    // set-aside files.
    KeepOutcome keep(const HistoryEntry& entry, const std::array<QString, 2>& setAside,
                     const QString& record, FileSystem& fileSystem, QString* error);
    // Completes the keeping of the entry that a crash interrupted, from where it stopped.
    KeepOutcome complete(HistoryEntry entry, const std::array<QString, 2>& setAside,
                         const QString& record, FileSystem& fileSystem, QString* error);
    // Flushes the new names in the history's folders to disk, then drops what the bounds exclude.
    bool flushAndPrune(FileSystem& fileSystem, QString* error);

private:
    struct Stored
    {
        HistoryEntry entry;
        bool whole = false;
    };
    struct Parsed
    {
        QDateTime modified;
        qint64 size = -1;
        std::optional<HistoryEntry> entry;
    };

    QString entryPath(int id) const;
    QList<Stored> stored() const;
    bool prepareFolder(FileSystem& fileSystem, QString* error);
    // Names the file after a kept file with its bytes, if there is one, and gives it its
    // fingerprint.
    void matchKeptFile(KeptFile& file, const QList<Stored>& all) const;
    // The name a file at the path is kept under when it goes at that time.
    static QString keptName(const QDateTime& time, const QString& path);
    // The file's size, time, fingerprint and, when its bytes are kept already, their name: all
    // from the file now at current.
    void describe(KeptFile& file, const QString& current, const QList<Stored>& all) const;
    // As describe, with a name of its own when the bytes are not kept yet.
    void describeAnew(KeptFile& file, const QString& current, const QDateTime& time,
                      const QList<Stored>& all) const;
    KeepOutcome store(HistoryEntry entry, const std::array<QString, 2>& setAside, QString record,
                      bool recovering, FileSystem& fileSystem, QString* error);
    void prune(FileSystem& fileSystem) const;

    QString m_folder;
    int m_maxEntries;
    qint64 m_maxBytes;
    // The entries' files as last read, by name: a long-lived history reads each once.
    mutable QHash<QString, Parsed> m_parsed;
    bool m_prepared = false;
    // New names not flushed yet: every flush of the folder costs a flush of the disk.
    bool m_unflushed = false;
};
