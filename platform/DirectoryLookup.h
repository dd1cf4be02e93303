#pragma once

#include <QString>

// Returns the path with the native directory separator at its end; an empty path gives the root.
QString AddBackslash(const QString& path);

// Whether the path, ended with a separator, names an existing directory.
bool FolderExists(const QString& path);

// True for an existing regular file that is not hidden; a folder, a hidden file or nothing is not.
bool FileExists(const QString& path);

// The name under which the folder holds an entry, found as Windows and Wine find it, without
// regard to letter case: the spelling the folder holds for the entry the system's lookup finds
// (on POSIX, the name itself when an entry is spelled exactly so); otherwise the one
// entry whose name matches it in another letter case; among several such entries, the first in
// the order of their names' UTF-16 code units, so that the choice never depends on the order the
// folder lists them in. The name as given when nothing matches. An exact spelling costs one
// lookup; any other reads the folder's names once. On Windows, which ignores letter case, the one
// lookup finds every spelling and answers with the folder's.
QString spellingOnDisk(const QString& folder, const QString& name);

// Where a folder picker for the path should open: the folder itself when it exists, else its
// nearest existing parent, else (a relative path, or nothing left of it) the user's home folder.
QString nearestExistingFolder(const QString& path);
