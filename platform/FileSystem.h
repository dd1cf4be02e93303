#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The file steps of the configuration switch, each one confirmed by the system or failed with its
// reason. Tests put a fake in its place to fail or stop at any chosen step.
class FileSystem
{
public:
    virtual ~FileSystem() = default;
    // Copies the source whole into a new temporary beside the destination, flushed to disk, with
    // the destination's permissions and owner (the source's when there is no destination yet).
    // Returns the temporary's path. A read-only destination is refused.
    virtual std::optional<QString> stageCopy(const QString& source, const QString& destination,
                                             QString* error) = 0;
    // Writes a small file in place, flushed to disk; a crash may leave it torn.
    virtual bool writeRecord(const QString& path, const QByteArray& bytes, QString* error) = 0;
    // Writes a small file whole or not at all: through a flushed temporary renamed over the path.
    // When equivalent names a flushed file that may stand for the bytes, and the file system
    // allows it, the path is made a second name of that file instead: nothing is written or
    // flushed. Either way the new name is flushed with the folder (syncFolder).
    virtual bool writeWhole(const QString& path, const QByteArray& bytes, const QString& equivalent,
                            QString* error) = 0;
    // Renames from over to, replacing to as a name.
    virtual bool rename(const QString& from, const QString& to, QString* error) = 0;
    // Gives the existing file a second name; false with the reason when the name is taken or the
    // file system has no such names.
    virtual bool link(const QString& existing, const QString& newName, QString* error) = 0;
    // Deletes the file, also when it is marked read-only.
    virtual bool removeFile(const QString& path, QString* error) = 0;
    // Flushes the folder's entries to disk.
    virtual bool syncFolder(const QString& folder, QString* error) = 0;
    // Flushes an existing file's bytes to disk.
    virtual bool syncFile(const QString& path, QString* error) = 0;
};
