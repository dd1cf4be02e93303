#pragma once

#include <QString>

// The path that the path leads to once every symbolic link on the way is followed, whether or not
// a file is there yet; the path itself when it is no link, or when its links go round in a
// circle. A file kept in a dotfile folder and linked into place is written and locked there.
QString followLinks(const QString& path);
