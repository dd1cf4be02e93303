#pragma once

#include <QString>

// The names of Hangar's own temporary files. A temporary lives beside its target as
// ".<target>.hangar-<kind>-<6 letters or digits>", hidden on Linux, and no program but Hangar makes
// names of that shape: a leftover of a killed run is recognised by its name alone and removed,
// and nothing else in the user's folders is ever touched.
namespace HangarTemporaries {

// A fresh temporary name of the kind ("new", "old") beside the target; the file is not created.
QString nameBeside(const QString& target, const QString& kind);

bool isTemporaryName(const QString& fileName);

// The paths of the temporaries in the folder.
QStringList inFolder(const QString& folder);

} // namespace HangarTemporaries
