#pragma once

#include "ProfileEncoding.h"

#include <QByteArray>
#include <QString>

// Keys of a Windows-style initialisation file, in the manner of GetPrivateProfileString and
// WritePrivateProfileString. The file is 8-bit text in the system's local encoding, or UTF-16 LE
// with its byte-order mark, and stays so; values keep bytes the encoding cannot read.
namespace ProfileFile {

// The key's value, at most maxLength characters; the default when the file, the section or the
// key is missing or the file cannot be read. Only a regular file is read.
QString readString(const QString& section, const QString& key, const QString& defaultValue,
                   qsizetype maxLength, const QString& file);

// Several keys of one file set in memory, one after the other as separate writes would set them,
// and written back in one atomic replacement: a crash leaves either the old file or the new one.
class Edit
{
public:
    // Reads the file, or the file a link at the path leads to; a missing file starts empty. A file
    // that exists but cannot be read, or that is not a regular file, is refused: it must not be
    // replaced by a file of a few keys.
    bool open(const QString& file, QString* error);
    // Sets the key, creating the section when missing.
    void setString(const QString& section, const QString& key, const QString& value);
    // Writes the edited contents, unless they are what the file already holds. On failure the
    // file keeps every byte it held.
    bool commit(QString* error);

private:
    QString m_file;
    bool m_existed = false;
    QByteArray m_original;
    ProfileEncoding::WorkingText m_working;
};

} // namespace ProfileFile
