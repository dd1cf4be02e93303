#include "DirectoryLookup.h"
#include "EntryName.h"

#include <QFileInfo>

std::optional<QString> storedEntryName(const QString& folder, const QString& name)
{
    if (!QFileInfo::exists(AddBackslash(folder) + name))
        return std::nullopt;
    return name;
}
