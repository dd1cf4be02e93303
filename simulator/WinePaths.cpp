#include "WinePaths.h"

#include "ConfigText.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

bool startsWithDrive(QStringView path)
{
    return path.size() >= 2 && path[0].isLetter() && path[1] == u':' &&
           (path.size() == 2 || path[2] == u'/');
}

} // namespace

QString winePrefixOf(const QString& folder)
{
    QDir dir(QDir(folder).absolutePath());
    do {
        if (QFileInfo(dir.filePath(QStringLiteral("drive_c"))).isDir() &&
            QFileInfo(dir.filePath(QStringLiteral("dosdevices"))).isDir())
            return dir.path();
    } while (dir.cdUp());
    return {};
}

WindowsPathLookup::WindowsPathLookup(const QString& prefix, const QString& base)
    : m_prefix(QDir::fromNativeSeparators(prefix)), m_base(QDir::fromNativeSeparators(base))
{}

WindowsPathLookup::Result WindowsPathLookup::folder(const QString& windowsPath)
{
    QString path = windowsPath.trimmed();
    path.replace(u'\\', u'/');
    std::optional<QString> found;
    if (startsWithDrive(path)) {
        if (QDir::isAbsolutePath(path)) // a Windows system, where drive letters are real
            found = descend(path.left(2) + u'/', QStringView(path).sliced(2));
        else if (m_prefix.isEmpty())
            return {Outcome::Unmappable, {}, tr("a drive letter needs a Wine prefix")};
        else if (const auto root = driveRoot(path[0]))
            found = descend(*root, QStringView(path).sliced(2));
    } else if (path.startsWith(u'/')) {
        return {Outcome::Unmappable, {}, tr("paths from a drive's root or the network")};
    } else if (m_base.isEmpty()) {
        return {Outcome::Unmappable, {}, tr("a relative path needs the simulator's folder")};
    } else {
        found = descend(m_base, path);
    }
    if (!found)
        return {Outcome::Missing, {}, {}};
    return {Outcome::Found, *found, {}};
}

std::optional<QString> WindowsPathLookup::driveRoot(QChar letter)
{
    const QString dosDevices = joined(m_prefix, QStringLiteral("dosdevices"));
    const QString driveC = joined(m_prefix, QStringLiteral("drive_c"));
    const bool hasDriveC = QFileInfo(driveC).isDir();
    auto root = child(dosDevices, QString(letter) + u':', true);
    // Wine's c: is a link to drive_c: every folder found on it is told under drive_c, the name
    // the user sees in the prefix, and the same for both folders of a configuration.
    if (root && hasDriveC &&
        QFileInfo(*root).canonicalFilePath() == QFileInfo(driveC).canonicalFilePath())
        return driveC;
    if (root)
        return root;
    if (letter.toLower() == u'c' && hasDriveC)
        return driveC;
    return std::nullopt;
}

std::optional<QString> WindowsPathLookup::descend(QString from, QStringView relativePath)
{
    for (const QStringView part : relativePath.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            from = QFileInfo(from).path();
            continue;
        }
        const auto next = child(from, part.toString(), true);
        if (!next)
            return std::nullopt;
        from = *next;
    }
    return from;
}

std::optional<QString> WindowsPathLookup::child(const QString& folder, const QString& name,
                                                bool wantFolder)
{
    const Listing& entries = listing(folder);
    auto match = entries.exact.constFind(name);
    if (match == entries.exact.constEnd()) {
        match = entries.folded.constFind(caseFolded(name));
        if (match == entries.folded.constEnd())
            return std::nullopt;
    }
    if (match->isFolder != wantFolder)
        return std::nullopt;
    return joined(folder, match->name);
}

const WindowsPathLookup::Listing& WindowsPathLookup::listing(const QString& folder)
{
    const auto known = m_listings.constFind(folder);
    if (known != m_listings.constEnd())
        return *known;
    Listing entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const Entry entry{it.fileName(), it.fileInfo().isDir()};
        entries.exact.insert(entry.name, entry);
        const QString folded = caseFolded(entry.name);
        if (!entries.folded.contains(folded))
            entries.folded.insert(folded, entry);
    }
    return *m_listings.insert(folder, entries);
}
