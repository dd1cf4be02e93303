#pragma once

#include "FileSystem.h"

// The real file system: copies stream through QSaveFile with bounded memory.
class DiskFileSystem : public FileSystem
{
public:
    std::unique_ptr<StagedCopy> stageCopy(const QString& source, const QString& destination,
                                          QString* error) override;
    bool removeFile(const QString& path, QString* error) override;
};
