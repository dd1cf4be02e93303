#include "History.h"

#include "ContentFingerprint.h"
#include "FileCommit.h"
#include "HangarTemporaries.h"
#include "HistorySettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <algorithm>
#include <cstring>

namespace {

// Entries are numbered from 1 and never past this: a number read from disk is taken only when it
// leaves room for every entry after it, so the next number can never wrap.
constexpr int largestEntryNumber = 999'999'999;
// An entry's description is a few hundred bytes: anything much larger is not one.
constexpr qint64 largestEntrySize = qint64{64} * 1024;

// The number of the entry that the file describes, or 0 for a file that describes none: the name
// is the number's own digits, without a sign or leading zero, and ".json".
int entryNumber(const QString& fileName)
{
    if (!fileName.endsWith(QLatin1String(".json")))
        return 0;
    const QString digits = fileName.chopped(5);
    if (digits.isEmpty() || digits.size() > 9 || digits.startsWith(u'0') ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return 0;
    const int id = digits.toInt();
    return id <= largestEntryNumber ? id : 0;
}

// A file that Hangar may read as its own: a regular file, not a link to one (which could lead
// anywhere, /dev/zero included), and where a size is given, not larger.
bool isPlainFile(const QFileInfo& info, qint64 largest = -1)
{
    return info.isFile() && !info.isSymLink() && (largest < 0 || info.size() <= largest);
}

// A kept file's name as an entry gives it: one name inside the history's folder, never a path
// that leads out of it or to a hidden file.
bool isKeptName(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(u':') && name.size() <= 255;
}

bool samePair(const HistoryEntry& a, const HistoryEntry& b)
{
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        if (a.files[i].path != b.files[i].path || a.files[i].keptAs != b.files[i].keptAs)
            return false;
    }
    return true;
}

// Whether the two files hold the same bytes, both of the given size: a description's size is not
// taken on trust. Read in pieces, never mapped: a file that another program truncates while it is
// mapped kills the reader.
bool sameBytes(const QString& a, const QString& b, qint64 size)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != size || second.size() != size)
        return false;
    constexpr qint64 pieceSize = qint64{256} * 1024;
    for (qint64 done = 0; done < size;) {
        const QByteArray piece = first.read(pieceSize);
        if (piece.isEmpty() || piece != second.read(pieceSize))
            return false;
        done += piece.size();
    }
    return first.atEnd() && second.atEnd();
}

} // namespace

QJsonObject HistoryEntry::toJson() const
{
    QJsonArray array;
    for (const KeptFile& file : files) {
        array.append(QJsonObject{
            {QStringLiteral("path"), file.path},
            {QStringLiteral("keptAs"), file.keptAs},
            {QStringLiteral("size"), double(file.size)},
            {QStringLiteral("modified"), file.modified.toUTC().toString(Qt::ISODateWithMs)},
            {QStringLiteral("fingerprint"), file.fingerprint}});
    }
    QJsonObject object{{QStringLiteral("id"), id},
                       {QStringLiteral("time"), time.toString(Qt::ISODateWithMs)},
                       {QStringLiteral("operation"), operation},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("files"), array}};
    if (matched)
        object.insert(QStringLiteral("matched"),
                      matched->isEmpty() ? QJsonValue() : QJsonValue(*matched));
    return object;
}

std::optional<HistoryEntry> HistoryEntry::fromJson(const QJsonObject& object)
{
    HistoryEntry entry;
    entry.id = object.value(u"id").toInt();
    entry.time = QDateTime::fromString(object.value(u"time").toString(), Qt::ISODateWithMs);
    entry.operation = object.value(u"operation").toString();
    entry.name = object.value(u"name").toString();
    if (object.contains(u"matched"))
        entry.matched = object.value(u"matched").toString();
    const QJsonArray array = object.value(u"files").toArray();
    if (entry.id <= 0 || entry.id > largestEntryNumber || !entry.time.isValid() ||
        array.size() != qsizetype(entry.files.size()))
        return std::nullopt;
    for (std::size_t i = 0; i < entry.files.size(); ++i) {
        const QJsonObject file = array.at(qsizetype(i)).toObject();
        entry.files[i] = {
            file.value(u"path").toString(), file.value(u"keptAs").toString(),
            qint64(file.value(u"size").toDouble()),
            QDateTime::fromString(file.value(u"modified").toString(), Qt::ISODateWithMs),
            file.value(u"fingerprint").toString()};
        // Whatever wrote the file, a kept file lies in the history's folder.
        if (!entry.files[i].keptAs.isEmpty() && !isKeptName(entry.files[i].keptAs))
            return std::nullopt;
    }
    return entry;
}

History::History(QString folder, int maxEntries, qint64 maxBytes)
    : m_folder(std::move(folder)), m_maxEntries(maxEntries), m_maxBytes(maxBytes)
{}

History History::forSettings(const AppInfo& appInfo, const QString& settingsFile)
{
    const HistorySettings settings = historySettings(appInfo, settingsFile);
    return {settings.folder, settings.maxEntries, qint64{settings.maxMegabytes} << 20};
}

QString History::keptFilePath(const QString& keptAs) const
{
    return QDir(m_folder).filePath(keptAs);
}

QString History::entryPath(int id) const
{
    return QDir(m_folder).filePath(QString::number(id) + QStringLiteral(".json"));
}

QList<History::Stored> History::stored() const
{
    // The names alone, without asking for each file's details: only the entries' files are
    // looked at, and read again only when they changed.
    const QStringList names = QDir(m_folder).entryList(QDir::Files);
    const QSet<QString> present(names.begin(), names.end());
    QList<Stored> result;
    for (const QString& name : names) {
        if (entryNumber(name) == 0)
            continue;
        const QFileInfo info(QDir(m_folder).filePath(name));
        if (!isPlainFile(info, largestEntrySize))
            continue;
        Parsed& parsed = m_parsed[name];
        if (parsed.modified != info.lastModified() || parsed.size != info.size()) {
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            parsed = {info.lastModified(), info.size(),
                      HistoryEntry::fromJson(
                          QJsonDocument::fromJson(file.read(largestEntrySize)).object())};
        }
        const std::optional<HistoryEntry>& entry = parsed.entry;
        if (!entry || entry->id != entryNumber(name))
            continue;
        // A kept file takes its name only once it is whole; a link or anything but a plain file
        // under that name is not Hangar's.
        bool whole = true;
        for (const KeptFile& kept : entry->files)
            whole = whole &&
                    (kept.keptAs.isEmpty() || (present.contains(kept.keptAs) &&
                                               isPlainFile(QFileInfo(keptFilePath(kept.keptAs)))));
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
    entry.operation = operation;
    entry.name = name;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        entry.files[i].path = paths[i];
        if (QFileInfo::exists(paths[i]))
            describe(entry.files[i], paths[i], all);
    }
    // Named by the time, not the number: an entry that recovery renumbers keeps its files' names.
    // A name taken already (two entries in one millisecond) moves the time on.
    for (entry.time = QDateTime::currentDateTimeUtc();; entry.time = entry.time.addMSecs(1)) {
        std::array<QString, 2> names;
        bool taken = false;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const KeptFile& file = entry.files[i];
            if (file.modified.isValid() && file.keptAs.isEmpty()) {
                names[i] = keptName(entry.time, paths[i]);
                taken = taken || QFileInfo::exists(keptFilePath(names[i]));
            }
        }
        if (taken)
            continue;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (!names[i].isEmpty())
                entry.files[i].keptAs = names[i];
        }
        return entry;
    }
}

QString History::keptName(const QDateTime& time, const QString& path)
{
    return time.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) + QFileInfo(path).fileName();
}

void History::describe(KeptFile& file, const QString& current, const QList<Stored>& all) const
{
    KeptFile now{current, QString(), QFileInfo(current).size(), QFileInfo(current).lastModified(),
                 QString()};
    matchKeptFile(now, all);
    file = {file.path, now.keptAs, now.size, now.modified, now.fingerprint};
}

bool History::prepareFolder(FileSystem& fileSystem, QString* error)
{
    if (m_prepared)
        return true;
    if (!QFileInfo(m_folder).isDir()) {
        // A new folder must outlive a crash like the files put in it.
        if (!makeFolder(m_folder, error) ||
            !fileSystem.syncFolder(QFileInfo(m_folder).path(), error))
            return false;
    }
    // Partial copies and entries of a run killed while it wrote them.
    QString ignored;
    for (const QString& leftover : HangarTemporaries::inFolder(m_folder))
        fileSystem.removeFile(leftover, &ignored);
    m_prepared = true;
    return true;
}

void History::matchKeptFile(KeptFile& file, const QList<Stored>& all) const
{
    QList<const KeptFile*> candidates;
    QSet<QString> seen;
    for (const Stored& s : all) {
        for (const KeptFile& kept : s.entry.files) {
            if (s.whole && !kept.keptAs.isEmpty() && kept.size == file.size &&
                !seen.contains(kept.keptAs)) {
                seen.insert(kept.keptAs);
                candidates.append(&kept);
            }
        }
    }
    // Reading the whole file costs more than a comparison or two, which mostly stop at the first
    // difference: the fingerprint sorts the candidates out only when there are more.
    constexpr qsizetype fewCandidates = 4;
    if (candidates.size() > fewCandidates)
        file.fingerprint = contentFingerprint(file.path).value_or(QString());
    for (const KeptFile* kept : std::as_const(candidates)) {
        if (!file.fingerprint.isEmpty() && !kept->fingerprint.isEmpty() &&
            kept->fingerprint != file.fingerprint)
            continue;
        if (sameBytes(file.path, keptFilePath(kept->keptAs), file.size)) {
            file.keptAs = kept->keptAs;
            file.fingerprint = kept->fingerprint;
            break;
        }
    }
    if (file.fingerprint.isEmpty())
        file.fingerprint = contentFingerprint(file.path).value_or(QString());
}

void History::describeAnew(KeptFile& file, const QString& current, const QDateTime& time,
                           const QList<Stored>& all) const
{
    describe(file, current, all);
    for (QDateTime at = time; file.keptAs.isEmpty(); at = at.addMSecs(1)) {
        if (!QFileInfo::exists(keptFilePath(keptName(at, file.path))))
            file.keptAs = keptName(at, file.path);
    }
}

KeepOutcome History::keep(const HistoryEntry& entry, const std::array<QString, 2>& setAside,
                          const QString& record, FileSystem& fileSystem, QString* error)
{
    return store(entry, setAside, record, false, fileSystem, error);
}

KeepOutcome History::complete(HistoryEntry entry, const std::array<QString, 2>& setAside,
                              const QString& record, FileSystem& fileSystem, QString* error)
{
    // Whatever a run that died left in the history goes first, also in a history kept open.
    m_prepared = false;
    QString describedBy = record;
    QFile file(entryPath(entry.id));
    if (file.open(QIODevice::ReadOnly)) {
        const auto written =
            HistoryEntry::fromJson(QJsonDocument::fromJson(file.readAll()).object());
        // Closed before the entry is written over it: Windows replaces no file that is open.
        file.close();
        // The number went to another entry meanwhile (a switch in other folders): the record no
        // longer describes the entry.
        if (!written || written->time != entry.time) {
            entry.id = stored().value(0).entry.id + 1;
            describedBy.clear();
        }
    }
    return store(entry, setAside, describedBy, true, fileSystem, error) == KeepOutcome::Kept
               ? KeepOutcome::Kept
               : KeepOutcome::Pending;
}

KeepOutcome History::store(HistoryEntry entry, const std::array<QString, 2>& setAside,
                           QString record, bool recovering, FileSystem& fileSystem, QString* error)
{
    if (!prepareFolder(fileSystem, error))
        return KeepOutcome::Refused;
    std::vector<std::size_t> moved;
    QStringList copied;
    bool failed = false;
    std::optional<QList<Stored>> all;
    for (std::size_t i = 0; i < setAside.size() && !failed; ++i) {
        KeptFile& file = entry.files[i];
        if (file.keptAs.isEmpty())
            continue;
        const QFileInfo source(setAside[i]);
        // The entry, and the record that names it, describe the file as it was before it was set
        // aside. A file written to since would be kept under a false description, or dropped as
        // a copy of bytes it no longer holds: a switch refuses it; after a crash, when the
        // simulator may have saved before the recovery set the file aside, it is described anew.
        if (!source.exists() || source.size() != file.size ||
            source.lastModified() != file.modified) {
            if (!recovering) {
                *error = QStringLiteral("%1 changed while it was being replaced.").arg(file.path);
                failed = true;
                break;
            }
            if (source.exists()) {
                if (!all)
                    all = stored();
                describeAnew(file, setAside[i], entry.time, *all);
                record.clear();
            }
        }
        const QString target = keptFilePath(file.keptAs);
        // Kept already: the same bytes by another entry, or moved in before a crash.
        if (QFileInfo::exists(target))
            continue;
        // Neither where it was set aside nor kept: removed by hand, and the entry can never be
        // whole.
        if (!source.exists())
            return KeepOutcome::Kept;
        // A link is kept as the bytes it points to, never as a link to a file that may change.
        if (!source.isSymLink()) {
            // What the simulator wrote last may still be only in memory.
            if (!fileSystem.syncFile(setAside[i], error)) {
                failed = true;
                break;
            }
            QString renameError;
            if (fileSystem.rename(setAside[i], target, &renameError)) {
                moved.push_back(i);
                m_unflushed = true;
                continue;
            }
        }
        // Another file system (or a link): a copy, flushed before it takes its name.
        const auto copy = fileSystem.stageCopy(setAside[i], target, error);
        failed = !copy || !fileSystem.rename(*copy, target, error);
        QString ignored;
        if (failed && copy)
            fileSystem.removeFile(*copy, &ignored);
        if (!failed)
            copied << target;
        m_unflushed = true;
    }
    // The metadata comes last, so that an entry is never listed before its files are in place.
    if (!failed && fileSystem.writeWhole(entryPath(entry.id),
                                         QJsonDocument(entry.toJson()).toJson(), record, error)) {
        m_unflushed = true;
        return KeepOutcome::Kept;
    }

    QString undoError;
    for (const QString& copy : std::as_const(copied))
        fileSystem.removeFile(copy, &undoError);
    for (std::size_t n = moved.size(); n-- > 0;) {
        const std::size_t i = moved[n];
        if (!fileSystem.rename(keptFilePath(entry.files[i].keptAs), setAside[i], &undoError))
            return KeepOutcome::Pending;
    }
    return KeepOutcome::Refused;
}

bool History::flushAndPrune(FileSystem& fileSystem, QString* error)
{
    if (m_unflushed && !fileSystem.syncFolder(m_folder, error))
        return false;
    m_unflushed = false;
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
                if (!file.keptAs.isEmpty() && !counted.contains(file.keptAs))
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
                    counted.insert(file.keptAs);
            }
        }
        const bool dropped = drop && fileSystem.removeFile(entryPath(entry.id), &ignored);
        for (const KeptFile& file : entry.files)
            (dropped ? released : referenced).insert(file.keptAs);
    }
    // Only the files of dropped entries go: a file that no entry names yet may belong to an
    // entry that the recovery of an interrupted switch has still to write.
    for (const QString& keptAs : released - referenced) {
        if (!keptAs.isEmpty())
            fileSystem.removeFile(keptFilePath(keptAs), &ignored);
    }
}
