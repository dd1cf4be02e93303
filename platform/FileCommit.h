#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

// The steps of a write that the kernel must confirm one by one, so that a file counts as written
// only when every byte of it is on disk: buffered writes hide a full disk until the file is
// closed (Qt's own QSaveFile::commit() does not report that failure), so nothing here buffers.
// Every failure gives the system's own reason ("No space left on device", "File too large").

// A new file being written under a temporary name. Destroying it before finish() removes it.
class NewFile
{
public:
    virtual ~NewFile() = default;
    // Writes all the bytes or fails.
    virtual bool write(QByteArrayView bytes, QString* error) = 0;
    // Writes the whole of the file at the source or fails. Here it is read in pieces and
    // written; a system may let its kernel copy it instead.
    virtual bool copyFrom(const QString& source, QString* error);
    // Takes the permission bits and, where the process may set them, the owner and group of the
    // file at the path (the file a link points to), so that a replacement looks like what it
    // replaces. A path that names nothing leaves the new file as created.
    virtual bool adoptOwnershipOf(const QString& path, QString* error) = 0;
    // Flushes the file to disk and closes it; only then is it whole.
    virtual bool finish(QString* error) = 0;
    // Keeps the file after destruction.
    virtual void keep() = 0;
    virtual QString path() const = 0;
};

// Creates a new file beside the target under a name that only Hangar makes (see
// HangarTemporaries.h); never opens an existing file.
std::unique_ptr<NewFile> createTemporaryBeside(const QString& target, const QString& kind,
                                               QString* error);

// Creates the file, or empties an existing one, to be written in place; it is kept when done.
std::unique_ptr<NewFile> createFileAt(const QString& path, QString* error);

// Gives the existing file a second name (a hard link) in the same folder's file system; false with
// the system's reason when the name is taken or the file system has no such names.
bool addName(const QString& existing, const QString& newName, QString* error);

// Puts the file at from in place of to in one step, replacing to as a name: when to is a link,
// the link is replaced and the file it pointed to keeps its bytes.
bool replaceName(const QString& from, const QString& to, QString* error);

// Flushes the folder's entries to disk, so that a rename or a new file in it outlives a crash.
bool syncFolder(const QString& folder, QString* error);

// Flushes the bytes of an existing file to disk (a file another program wrote may not be yet).
bool syncFile(const QString& path, QString* error);

// Creates the folder and any missing folder above it; an existing folder is fine.
bool makeFolder(const QString& path, QString* error);

// True when the path names something that is neither missing nor a regular file (a folder, a
// FIFO, a device, a link to one): reading or replacing it could hang or do harm.
bool isSpecialFile(const QString& path);
