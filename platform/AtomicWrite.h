#pragma once

#include <QByteArray>
#include <QString>

// True when the file exists and its permission bits (or, on Windows, its read-only attribute)
// forbid writing, whatever the current user could override.
bool isMarkedReadOnly(const QString& path);

// Replaces the whole file with the bytes, or leaves it as it was: the bytes go to a temporary
// file beside it that is flushed to disk and renamed over it. A read-only file is refused.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);
