#pragma once

#include <QByteArray>
#include <QString>

// True when the file exists and the current user may not write it, or its owner's write bit (on
// Windows, its read-only attribute) is clear, whatever the current user could override.
bool isMarkedReadOnly(const QString& path);

// True, with the reason in error, when the file is marked read-only and must not be replaced.
bool refusedAsReadOnly(const QString& path, QString* error);

// True, with the reason in error, when the path names a folder, a FIFO, a device or a link to
// one: something that must be neither read as a file nor replaced.
bool refusedAsSpecial(const QString& path, QString* error);

// Replaces the whole file with the bytes, or leaves it as it was: the bytes go to a temporary
// beside it that is flushed to disk before it is renamed over the file, and the rename is flushed
// too. The replacement keeps the file's permissions and owner; a link is replaced as a name.
// A read-only or special file is refused.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);
