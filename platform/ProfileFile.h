#pragma once

#include <QString>

// One key of a Windows-style initialisation file, in the manner of GetPrivateProfileString and
// WritePrivateProfileString. The file is 8-bit text in the system's local encoding, or UTF-16 LE
// with its byte-order mark, and stays so; values keep bytes the encoding cannot read.
namespace ProfileFile {

// The key's value, at most maxLength characters; the default when the file, the section or the
// key is missing or the file cannot be read.
QString readString(const QString& section, const QString& key, const QString& defaultValue,
                   qsizetype maxLength, const QString& file);

// Sets the key, creating the file and the section when missing. The whole file is replaced
// atomically; on failure it keeps what it held and the reason is given.
bool writeString(const QString& section, const QString& key, const QString& value,
                 const QString& file, QString* error);

} // namespace ProfileFile
