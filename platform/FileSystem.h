#pragma once

#include <QString>
#include <memory>

// A whole copy of a file, written and flushed beside its destination but not yet in its place.
// Destroying it without a commit throws the copy away and leaves the destination untouched.
class StagedCopy
{
public:
    virtual ~StagedCopy() = default;
    // Puts the copy in place of its destination in one rename.
    virtual bool commit(QString* error) = 0;
};

// The file copies and deletions of the file operation. Failures come back with the system's
// reason in error; nothing is thrown and nothing is ignored.
class FileSystem
{
public:
    virtual ~FileSystem() = default;
    // Copies the source whole beside the destination; a read-only destination is refused.
    virtual std::unique_ptr<StagedCopy> stageCopy(const QString& source, const QString& destination,
                                                  QString* error) = 0;
    // Deletes the file, also when it is marked read-only.
    virtual bool removeFile(const QString& path, QString* error) = 0;
};
