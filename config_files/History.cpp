#include "History.h"

#include "FileCommit.h"
#include "HangarTemporaries.h"

#include <QCoreApplication>
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
        array.append(QJsonObject{
            {QStringLiteral("path"), file.path},
            {QStringLiteral("digest"), file.digest},
            {QStringLiteral("size"), double(file.size)},
            {QStringLiteral("modified"), file.modified.toUTC().toString(Qt::ISODateWithMs)}});
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
        entry.files[i] = {
            file.value(u"path").toString(), file.value(u"digest").toString(),
            qint64(file.value(u"size").toDouble()),
            QDateTime::fromString(file.value(u"modified").toString(), Qt::ISODateWithMs)};
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

std::optional<HistoryEntry> History::newEntry(const QString& operation, const QString& name,
                                              const std::array<QString, 2>& paths,
                                              QString* error) const
{
    const QList<Stored> all = stored();
    HistoryEntry entry;
    entry.id = all.isEmpty() ? 1 : all.first().entry.id + 1;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.operation = operation;
    entry.name = name;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        KeptFile& file = entry.files[i];
        file.path = paths[i];
        const QFileInfo info(paths[i]);
        if (!info.exists())
            continue;
        const auto digest = digestOf(paths[i], error);
        if (!digest)
            return std::nullopt;
        file = {paths[i], *digest, info.size(), info.lastModified()};
    }
    return entry;
}

std::optional<QString> History::digestOf(const QString& path, QString* error)
{
    QFile file(path);
    QCryptographicHash hash(digestAlgorithm);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        *error = file.errorString();
        return std::nullopt;
    }
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

KeepOutcome History::keep(const HistoryEntry& entry, const std::array<QString, 2>& setAside,
                          FileSystem& fileSystem, QString* error)
{
    // The digests were taken before the files went aside; a file written since then (the
    // simulator saving at that very moment) would be kept under the wrong name.
    for (std::size_t i = 0; i < setAside.size(); ++i) {
        const KeptFile& file = entry.files[i];
        const QFileInfo info(setAside[i]);
        if (!file.digest.isEmpty() &&
            (info.size() != file.size || info.lastModified() != file.modified)) {
            *error = QCoreApplication::translate("History", "%1 changed while it was replaced")
                         .arg(file.path);
            return KeepOutcome::Refused;
        }
    }
    return store(entry, setAside, fileSystem, error);
}

KeepOutcome History::complete(HistoryEntry entry, const std::array<QString, 2>& setAside,
                              FileSystem& fileSystem, QString* error)
{
    QFile file(entryPath(entry.id));
    if (file.open(QIODevice::ReadOnly)) {
        const auto written =
            HistoryEntry::fromJson(QJsonDocument::fromJson(file.readAll()).object());
        // The number went to another entry meanwhile (a switch in other folders).
        if (!written || written->time != entry.time)
            entry.id = stored().value(0).entry.id + 1;
    }
    for (std::size_t i = 0; i < setAside.size(); ++i) {
        const QString& digest = entry.files[i].digest;
        // Removed by hand meanwhile: the entry can never be whole, and waiting helps no one.
        if (!digest.isEmpty() && !QFileInfo::exists(keptFilePath(digest)) &&
            !QFileInfo::exists(setAside[i]))
            return KeepOutcome::Kept;
    }
    return store(entry, setAside, fileSystem, error) == KeepOutcome::Kept ? KeepOutcome::Kept
                                                                          : KeepOutcome::Pending;
}

KeepOutcome History::store(const HistoryEntry& entry, const std::array<QString, 2>& setAside,
                           FileSystem& fileSystem, QString* error)
{
    if (!prepareFolders(fileSystem, error))
        return KeepOutcome::Refused;
    std::vector<std::size_t> moved;
    bool failed = false;
    for (std::size_t i = 0; i < setAside.size() && !failed; ++i) {
        const QString target = keptFilePath(entry.files[i].digest);
        if (entry.files[i].digest.isEmpty() || QFileInfo::exists(target))
            continue;
        // A link is kept as the bytes it points to, never as a link to a file that may change.
        if (!QFileInfo(setAside[i]).isSymLink()) {
            // What the simulator wrote last may still be only in memory.
            if (!fileSystem.syncFile(setAside[i], error)) {
                failed = true;
                break;
            }
            QString renameError;
            if (fileSystem.rename(setAside[i], target, &renameError)) {
                moved.push_back(i);
                m_unflushed << filesFolder(m_folder);
                continue;
            }
        }
        // Another file system (or a link): a copy, flushed before it takes its name.
        const auto copy = fileSystem.stageCopy(setAside[i], target, error);
        failed = !copy || !fileSystem.rename(*copy, target, error);
        QString ignored;
        if (failed && copy)
            fileSystem.removeFile(*copy, &ignored);
        m_unflushed << filesFolder(m_folder);
    }
    // The metadata comes last, so that an entry is never listed before its files are in place.
    if (!failed &&
        fileSystem.writeWhole(entryPath(entry.id), QJsonDocument(entry.toJson()).toJson(), error)) {
        m_unflushed << entriesFolder(m_folder);
        return KeepOutcome::Kept;
    }

    QString undoError;
    for (std::size_t n = moved.size(); n-- > 0;) {
        const std::size_t i = moved[n];
        if (!fileSystem.rename(keptFilePath(entry.files[i].digest), setAside[i], &undoError))
            return KeepOutcome::Pending;
    }
    return KeepOutcome::Refused;
}

bool History::flushAndPrune(FileSystem& fileSystem, QString* error)
{
    m_unflushed.removeDuplicates();
    for (const QString& folder : std::as_const(m_unflushed)) {
        if (!fileSystem.syncFolder(folder, error))
            return false;
    }
    m_unflushed.clear();
    prune(fileSystem);
    return true;
}

void History::prune(FileSystem& fileSystem) const
{
    // A removal that fails, or that a crash undoes, only leaves the history larger than its
    // bounds until the next entry: nothing here needs flushing.
    QString ignored;
    QList<HistoryEntry> retained;
    QSet<QString> counted;
    qint64 bytes = 0;
    bool full = false;
    QSet<QString> referenced;
    QSet<QString> released;
    for (const Stored& s : stored()) {
        const HistoryEntry& entry = s.entry;
        bool drop = false;
        // An entry that is not whole is left alone: its files may be on their way.
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
        const bool dropped = drop && fileSystem.removeFile(entryPath(entry.id), &ignored);
        for (const KeptFile& file : entry.files)
            (dropped ? released : referenced).insert(file.digest);
    }
    // Only the files of dropped entries go: a file that no entry names yet may belong to an
    // entry that the recovery of an interrupted switch has still to write.
    for (const QString& digest : released - referenced) {
        if (!digest.isEmpty())
            fileSystem.removeFile(keptFilePath(digest), &ignored);
    }
}
