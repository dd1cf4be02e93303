#include "DirectoryLookup.h"
#include "EntryName.h"

#include <QDir>
#include <windows.h>

std::optional<QString> storedEntryName(const QString& folder, const QString& name)
{
    // A name with wildcards would be taken as a pattern; Windows allows none in a file name.
    if (name.contains(u'*') || name.contains(u'?'))
        return std::nullopt;
    const std::wstring path = QDir::toNativeSeparators(AddBackslash(folder) + name).toStdWString();
    // One lookup, whose answer carries the name as the directory entry spells it.
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return std::nullopt;
    FindClose(search);
    return QString::fromWCharArray(found.cFileName);
}
