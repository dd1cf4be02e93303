#include "History.h"

#include "FileCommit.h"
#include "HangarTemporaries.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

// BLAKE2b rather than SHA-2: Qt's own SHA-256 digests a 2 MB Scenery.cfg five times slower, and
// every operation digests the pair it keeps.
constexpr auto digestAlgorithm = QCryptographicHash::Blake2b_256;

QString entriesFolder(const QString& root)
{
    return QDir(root).filePath(QStringLiteral("entries"));
}

QString filesFolder(const QString& root)
{
    return QDir(root).filePath(QStringLiteral("files"));
}

bool samePair(const HistoryEntry& a, const HistoryEntry& b)
{
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        if (a.files[i].path != b.files[i].path || a.files[i].digest != b.files[i].digest)
            return false;
    }
    return true;
}

} // namespace

QJsonObject HistoryEntry::toJson() const
{
    QJsonArray array;
    for (const KeptFile& file : files) {
        array.append(QJsonObject{{QStringLiteral("path"), file.path},
                                 {QStringLiteral("digest"), file.digest},
                                 {QStringLiteral("size"), double(file.size)}});
    }
    return {{QStringLiteral("id"), id},
            {QStringLiteral("time"), time.toString(Qt::ISODateWithMs)},
            {QStringLiteral("operation"), operation},
            {QStringLiteral("name"), name},
            {QStringLiteral("files"), array}};
}

std::optional<HistoryEntry> HistoryEntry::fromJson(const QJsonObject& object)
{
    HistoryEntry entry;
    entry.id = object.value(u"id").toInt();
    entry.time = QDateTime::fromString(object.value(u"time").toString(), Qt::ISODateWithMs);
    entry.operation = object.value(u"operation").toString();
    entry.name = object.value(u"name").toString();
    const QJsonArray array = object.value(u"files").toArray();
    if (entry.id <= 0 || !entry.time.isValid() || array.size() != qsizetype(entry.files.size()))
        return std::nullopt;
    for (std::size_t i = 0; i < entry.files.size(); ++i) {
        const QJsonObject file = array.at(qsizetype(i)).toObject();
        entry.files[i] = {file.value(u"path").toString(), file.value(u"digest").toString(),
                          qint64(file.value(u"size").toDouble())};
    }
    return entry;
}

History::History(QString folder, int maxEntries, qint64 maxBytes)
    : m_folder(std::move(folder)), m_maxEntries(maxEntries), m_maxBytes(maxBytes)
{}

QString History::keptFilePath(const QString& digest) const
{
    return QDir(filesFolder(m_folder)).filePath(digest);
}

QString History::entryPath(int id) const
{
    return QDir(entriesFolder(m_folder)).filePath(QString::number(id) + QStringLiteral(".json"));
}

QList<History::Stored> History::stored() const
{
    static const QRegularExpression entryName(QStringLiteral(R"(^[1-9][0-9]*\.json$)"));
    QList<Stored> result;
    const QDir folder(entriesFolder(m_folder));
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (!entryName.match(name).hasMatch())
            continue;
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const auto entry = HistoryEntry::fromJson(QJsonDocument::fromJson(file.readAll()).object());
        if (!entry || QString::number(entry->id) + QStringLiteral(".json") != name)
            continue;
        bool whole = true;
        for (const KeptFile& kept : entry->files) {
            const QFileInfo info(keptFilePath(kept.digest));
            if (!kept.digest.isEmpty() && (!info.isFile() || info.size() != kept.size))
                whole = false;
        }
        result.append({*entry, whole});
    }
    std::sort(result.begin(), result.end(),
              [](const Stored& a, const Stored& b) { return a.entry.id > b.entry.id; });
    return result;
}

QList<HistoryEntry> History::entries() const
{
    QList<HistoryEntry> result;
    for (const Stored& s : stored()) {
        if (s.whole)
            result.append(s.entry);
    }
    return result;
}

HistoryEntry History::newEntry(const QString& operation, const QString& name,
                               const std::array<QString, 2>& paths) const
{
    const QList<Stored> all = stored();
    HistoryEntry entry;
    entry.id = all.isEmpty() ? 1 : all.first().entry.id + 1;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.operation = operation;
    entry.name = name;
    for (std::size_t i = 0; i < paths.size(); ++i)
        entry.files[i].path = paths[i];
    return entry;
}

std::optional<QString> History::digestOf(const QString& path, qint64* size, QString* error)
{
    QFile file(path);
    QCryptographicHash hash(digestAlgorithm);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        *error = file.errorString();
        return std::nullopt;
    }
    *size = file.size();
    return QString::fromLatin1(hash.result().toHex());
}

bool History::prepareFolders(FileSystem& fileSystem, QString* error) const
{
    bool created = false;
    for (const QString& folder : {entriesFolder(m_folder), filesFolder(m_folder)}) {
        if (QFileInfo(folder).isDir())
            continue;
        if (!makeFolder(folder, error))
            return false;
        created = true;
    }
    // New folders must outlive a crash like the files put in them.
    if (created && (!fileSystem.syncFolder(m_folder, error) ||
                    !fileSystem.syncFolder(QFileInfo(m_folder).path(), error)))
        return false;
    // Partial copies and entries of a run killed while it wrote them.
    QString ignored;
    for (const QString& folder : {entriesFolder(m_folder), filesFolder(m_folder)}) {
        for (const QString& leftover : HangarTemporaries::inFolder(folder))
            fileSystem.removeFile(leftover, &ignored);
    }
    return true;
}

KeepOutcome History::keep(HistoryEntry entry, const std::array<QString, 2>& setAside,
                          FileSystem& fileSystem, QString* error)
{
    if (!prepareFolders(fileSystem, error))
        return KeepOutcome::Refused;
    for (std::size_t i = 0; i < setAside.size(); ++i) {
        // A link that points nowhere held no bytes: like a missing file, there is nothing to keep.
        if (!QFileInfo::exists(setAside[i]))
            continue;
        const auto digest = digestOf(setAside[i], &entry.files[i].size, error);
        if (!digest)
            return KeepOutcome::Refused;
        entry.files[i].digest = *digest;
    }
    if (entry.files[0].digest.isEmpty() && entry.files[1].digest.isEmpty())
        return KeepOutcome::Kept;
    // The metadata goes first: once the set-aside files start moving, recovery finds in it the
    // digests they are kept under.
    if (!fileSystem.writeWhole(entryPath(entry.id), QJsonDocument(entry.toJson()).toJson(), error))
        return KeepOutcome::Refused;
    return takeFiles(entry, setAside, fileSystem, error);
}

KeepOutcome History::complete(HistoryEntry entry, const std::array<QString, 2>& setAside,
                              FileSystem& fileSystem, QString* error)
{
    QFile file(entryPath(entry.id));
    if (!file.open(QIODevice::ReadOnly))
        return keep(entry, setAside, fileSystem, error);
    const auto written = HistoryEntry::fromJson(QJsonDocument::fromJson(file.readAll()).object());
    file.close();
    if (!written || written->time != entry.time) {
        // The number went to another entry meanwhile (a switch in other folders).
        entry.id = newEntry(QString(), QString(), {}).id;
        return keep(entry, setAside, fileSystem, error);
    }
    QString ignored;
    for (std::size_t i = 0; i < setAside.size(); ++i) {
        const QString& digest = written->files[i].digest;
        if (!digest.isEmpty() && !QFileInfo::exists(keptFilePath(digest)) &&
            !QFileInfo::exists(setAside[i])) {
            // Removed by hand meanwhile: the entry can never be whole, and waiting helps no one.
            fileSystem.removeFile(entryPath(entry.id), &ignored);
            return KeepOutcome::Kept;
        }
    }
    if (!prepareFolders(fileSystem, error))
        return KeepOutcome::Pending;
    return takeFiles(*written, setAside, fileSystem, error) == KeepOutcome::Kept
               ? KeepOutcome::Kept
               : KeepOutcome::Pending;
}

KeepOutcome History::takeFiles(const HistoryEntry& entry, const std::array<QString, 2>& setAside,
                               FileSystem& fileSystem, QString* error)
{
    std::vector<std::size_t> moved;
    bool failed = false;
    for (std::size_t i = 0; i < setAside.size() && !failed; ++i) {
        const QString target = keptFilePath(entry.files[i].digest);
        if (entry.files[i].digest.isEmpty() || QFileInfo::exists(target))
            continue;
        // A link is kept as the bytes it points to, never as a link to a file that may change.
        if (!QFileInfo(setAside[i]).isSymLink()) {
            // The file the simulator wrote last may still be only in memory.
            if (!fileSystem.syncFile(setAside[i], error)) {
                failed = true;
                break;
            }
            QString renameError;
            if (fileSystem.rename(setAside[i], target, &renameError)) {
                moved.push_back(i);
                continue;
            }
        }
        // Another file system (or a link): a copy, flushed before it takes its name.
        const auto copy = fileSystem.stageCopy(setAside[i], target, error);
        failed = !copy || !fileSystem.rename(*copy, target, error);
        QString ignored;
        if (failed && copy)
            fileSystem.removeFile(*copy, &ignored);
    }
    if (!failed && fileSystem.syncFolder(filesFolder(m_folder), error)) {
        prune(fileSystem);
        return KeepOutcome::Kept;
    }

    // Undone in the order that keeps recovery able to finish: the files go back to their
    // set-aside names first, and the metadata, which names their digests, goes last.
    QString undoError;
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
        if (!fileSystem.rename(keptFilePath(entry.files[*it].digest), setAside[*it], &undoError))
            return KeepOutcome::Pending;
    }
    fileSystem.removeFile(entryPath(entry.id), &undoError);
    return KeepOutcome::Refused;
}

void History::prune(FileSystem& fileSystem) const
{
    // A failed removal only leaves the history larger than its bounds until the next entry.
    QString ignored;
    QList<HistoryEntry> retained;
    QSet<QString> counted;
    qint64 bytes = 0;
    bool full = false;
    QSet<QString> referenced;
    for (const Stored& s : stored()) {
        const HistoryEntry& entry = s.entry;
        // An entry that is not whole yet is a switch's that recovery will complete: it stays.
        bool drop = false;
        if (s.whole) {
            qint64 added = 0;
            for (const KeptFile& file : entry.files) {
                if (!file.digest.isEmpty() && !counted.contains(file.digest))
                    added += file.size;
            }
            const bool superseded = std::any_of(retained.begin(), retained.end(),
                                                [&](const auto& r) { return samePair(r, entry); });
            full = full || retained.size() >= m_maxEntries ||
                   (!retained.isEmpty() && bytes + added > m_maxBytes);
            drop = full || superseded;
            if (!drop) {
                retained.append(entry);
                bytes += added;
                for (const KeptFile& file : entry.files)
                    counted.insert(file.digest);
            }
        }
        if (drop && fileSystem.removeFile(entryPath(entry.id), &ignored))
            continue;
        for (const KeptFile& file : entry.files)
            referenced.insert(file.digest);
    }
    fileSystem.syncFolder(entriesFolder(m_folder), &ignored);
    const QDir files(filesFolder(m_folder));
    for (const QString& name : files.entryList(QDir::Files | QDir::Hidden)) {
        if (!referenced.contains(name) && !HangarTemporaries::isTemporaryName(name))
            fileSystem.removeFile(files.filePath(name), &ignored);
    }
}
