#pragma once

#include "FileSystem.h"

// The real file system. Copies stream in pieces, so memory stays small for any file size.
class DiskFileSystem : public FileSystem
{
public:
    std::optional<QString> stageCopy(const QString& source, const QString& destination,
                                     QString* error) override;
    bool writeRecord(const QString& path, const QByteArray& bytes, QString* error) override;
    bool writeWhole(const QString& path, const QByteArray& bytes, const QString& equivalent,
                    QString* error) override;
    bool rename(const QString& from, const QString& to, QString* error) override;
    bool link(const QString& existing, const QString& newName, QString* error) override;
    bool removeFile(const QString& path, QString* error) override;
    bool syncFolder(const QString& folder, QString* error) override;
    bool syncFile(const QString& path, QString* error) override;
};
