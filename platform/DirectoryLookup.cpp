#include "DirectoryLookup.h"

#include "EntryName.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

QString AddBackslash(const QString& path)
{
    const QChar separator = QDir::separator();
    if (path.endsWith(separator))
        return path;
    return path + separator;
}

bool FolderExists(const QString& path)
{
    return QFileInfo(AddBackslash(path)).isDir();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

bool sameFileName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x != y && QChar::toUpper(x) != QChar::toUpper(y))
            return false;
    }
    return true;
}

QString spellingOnDisk(const QString& folder, const QString& name)
{
    if (name.isEmpty())
        return name;
    // The system's own lookup answers whenever it finds the entry, on Windows in the folder's
    // letter case, so that a file replaced under that name keeps its spelling.
    if (const auto stored = storedEntryName(folder, name))
        return *stored;
    // Names only, in the folder's own order: the listing asks nothing of each entry, so a folder
    // of thousands stays quick, and the entry found is the one the simulator opens under Wine. A
    // dangling link of the exact name is still the entry that name finds.
    std::optional<QString> found;
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString entry = entries.fileName();
        if (entry == name)
            return name;
        if (!found && sameFileName(entry, name))
            found = entry;
    }
    return found.value_or(name);
}

QString nearestExistingFolder(const QString& path)
{
    QString candidate = QDir::cleanPath(QDir::fromNativeSeparators(path));
    // A relative path would be taken from whatever folder the program was started in.
    while (QDir::isAbsolutePath(candidate)) {
        if (QFileInfo(candidate).isDir())
            return QDir::toNativeSeparators(candidate);
        const QString parent = QFileInfo(candidate).path();
        if (parent == candidate)
            break;
        candidate = parent;
    }
    return QDir::toNativeSeparators(QDir::homePath());
}
