#pragma once

#include <QString>

// Returns the path with the native directory separator at its end; an empty path gives the root.
QString AddBackslash(const QString& path);

// Whether the path, ended with a separator, names an existing directory.
bool FolderExists(const QString& path);

// True for an existing regular file that is not hidden; a folder, a hidden file or nothing is not.
bool FileExists(const QString& path);

// Whether Windows takes the two file names for the same name: equal once every UTF-16 code unit
// is in its simple upper-case form, as Windows (its file systems' upcase table) and Wine (its
// case-insensitive search) compare names; nothing else is folded or normalised.
bool sameFileName(QStringView a, QStringView b);

// The name under which the folder holds an entry, found as Wine finds it: the name itself when
// an entry is spelled exactly so; otherwise the first entry, in the order the folder lists its
// entries (unsorted, as readdir gives them), that is the same file name. The name as given when
// nothing matches. An exact spelling costs one lookup; any other reads the folder's names once.
// On Windows, which ignores letter case, the one lookup finds every spelling and answers with the
// folder's.
QString spellingOnDisk(const QString& folder, const QString& name);

// Where a folder picker for the path should open: the folder itself when it exists, else its
// nearest existing parent, else (a relative path, or nothing left of it) the user's home folder.
QString nearestExistingFolder(const QString& path);
