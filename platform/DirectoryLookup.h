#pragma once

#include <QString>

// Returns the path with the native directory separator at its end; an empty path gives the root.
QString AddBackslash(const QString& path);

// Ends the caller's path with a separator, then tells whether it names an existing directory.
bool FolderExists(QString& path);

// True for an existing regular file that is not hidden; a folder, a hidden file or nothing is not.
bool FileExists(const QString& path);
