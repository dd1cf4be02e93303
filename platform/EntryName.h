#pragma once

#include <QString>
#include <optional>

// The name under which the folder stores the entry that the system's own lookup finds for the
// name, in the letter case the folder holds; nothing when the lookup finds no entry. A POSIX
// lookup matches the exact spelling only, so the answer is the name itself; Windows matches
// without regard to case, and the folder's spelling may differ from the one asked for.
std::optional<QString> storedEntryName(const QString& folder, const QString& name);
