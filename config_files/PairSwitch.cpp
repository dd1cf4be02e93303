#include "PairSwitch.h"

#include "HangarTemporaries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <optional>
#include <vector>

namespace {

// One file of a switch as the record names it: the copy waiting beside the destination (empty
// for a deletion) and the name the destination is renamed to before it is replaced.
struct RecordedStep
{
    QString destination;
    QString staged;
    QString aside;
};

QString recordIn(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral(".hangar-switch.json"));
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).path();
}

// A link counts as present even when it points nowhere: it is renamed aside like a file.
bool present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The history entry that the set-aside files become, as the record names it.
struct RecordedKeep
{
    QString folder;
    int maxEntries = 0;
    qint64 maxBytes = 0;
    HistoryEntry entry;
    // The record holds the entry's keys at its top, and can become its description.
    bool describesEntry = true;
};

struct Record
{
    std::vector<RecordedStep> steps;
    std::optional<RecordedKeep> keep;
};

// With a pair to keep, the record holds the history entry's own keys, so that it can become the
// entry's metadata under a second name once the pair is kept.
QByteArray recordBytes(const Record& record)
{
    QJsonArray array;
    for (const RecordedStep& step : record.steps) {
        array.append(QJsonObject{{QStringLiteral("destination"), step.destination},
                                 {QStringLiteral("staged"), step.staged},
                                 {QStringLiteral("aside"), step.aside}});
    }
    QJsonObject object = record.keep ? record.keep->entry.toJson() : QJsonObject();
    object.insert(QStringLiteral("steps"), array);
    if (record.keep) {
        object.insert(QStringLiteral("history"),
                      QJsonObject{{QStringLiteral("folder"), record.keep->folder},
                                  {QStringLiteral("maxEntries"), record.keep->maxEntries},
                                  {QStringLiteral("maxBytes"), double(record.keep->maxBytes)}});
    }
    return QJsonDocument(object).toJson();
}

// A whole record; one without steps when a crash tore it while it was written, before anything
// was renamed.
Record parsedRecord(const QByteArray& bytes)
{
    Record record;
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    for (const auto& value : object.value(u"steps").toArray()) {
        const QJsonObject step = value.toObject();
        record.steps.push_back({step.value(u"destination").toString(),
                                step.value(u"staged").toString(), step.value(u"aside").toString()});
    }
    const QJsonObject history = object.value(u"history").toObject();
    // Records written before the entry's keys moved to the top held it under "entry".
    const bool atTop = !history.contains(u"entry");
    const auto entry = HistoryEntry::fromJson(atTop ? object : history.value(u"entry").toObject());
    if (!history.isEmpty() && entry) {
        record.keep =
            RecordedKeep{history.value(u"folder").toString(), history.value(u"maxEntries").toInt(),
                         qint64(history.value(u"maxBytes").toDouble()), *entry, atTop};
    }
    return record;
}

std::array<QString, 2> asidesOf(const std::vector<RecordedStep>& steps)
{
    return {steps.at(0).aside, steps.at(1).aside};
}

bool syncFolders(const std::vector<RecordedStep>& steps, FileSystem& fileSystem, QString* error)
{
    QSet<QString> done;
    for (const RecordedStep& step : steps) {
        const QString folder = folderOf(step.destination);
        if (!done.contains(folder) && !fileSystem.syncFolder(folder, error))
            return false;
        done.insert(folder);
    }
    return true;
}

// Finishes a decided switch from wherever it stopped: every step is idempotent. The set-aside
// files go to the history before they are removed.
bool rollForward(const Record& record, const QString& recordPath, FileSystem& fileSystem,
                 QString* error)
{
    for (const RecordedStep& step : record.steps) {
        const bool copyWaiting = !step.staged.isEmpty() && present(step.staged);
        const bool deletionWaiting = step.staged.isEmpty();
        // A file at the destination beside the set-aside one is new since the crash (the
        // simulator recreates its settings); the set-aside one is what the switch replaces.
        if ((copyWaiting || deletionWaiting) && present(step.destination) && !present(step.aside) &&
            !fileSystem.rename(step.destination, step.aside, error))
            return false;
        if (copyWaiting && !fileSystem.rename(step.staged, step.destination, error))
            return false;
    }
    if (record.keep) {
        History history(record.keep->folder, record.keep->maxEntries, record.keep->maxBytes);
        if (history.complete(record.keep->entry, asidesOf(record.steps),
                             record.keep->describesEntry ? recordPath : QString(), fileSystem,
                             error) != KeepOutcome::Kept ||
            !syncFolders(record.steps, fileSystem, error) ||
            !history.flushAndPrune(fileSystem, error))
            return false;
    } else if (!syncFolders(record.steps, fileSystem, error)) {
        return false;
    }
    for (const RecordedStep& step : record.steps) {
        if (present(step.aside) && !fileSystem.removeFile(step.aside, error))
            return false;
    }
    return true;
}

void removeIfPresent(const QString& path, FileSystem& fileSystem)
{
    QString ignored;
    if (!path.isEmpty() && present(path))
        fileSystem.removeFile(path, &ignored);
}

} // namespace

SwitchOutcome switchPair(const std::array<PairStep, 2>& pair, FileSystem& fileSystem,
                         const KeepRequest& keep)
{
    SwitchOutcome outcome;
    Record record;
    std::vector<RecordedStep>& steps = record.steps;
    const auto discardStaged = [&] {
        for (const RecordedStep& step : steps)
            removeIfPresent(step.staged, fileSystem);
    };
    for (const PairStep& step : pair) {
        QString staged;
        if (!step.source.isEmpty()) {
            const auto copy = fileSystem.stageCopy(step.source, step.destination, &outcome.reason);
            if (!copy) {
                outcome.failedPath = step.destination;
                discardStaged();
                return outcome;
            }
            staged = *copy;
        }
        steps.push_back({step.destination, staged,
                         HangarTemporaries::nameBeside(step.destination, QStringLiteral("old"))});
    }
    // The record tells recovery which entry the set-aside files become, and their names in the
    // history. A pair that was not there is kept too, as an entry with no files: putting it back
    // deletes what the switch made, so that every change can be undone.
    History* history = keep.history;
    if (history != nullptr) {
        HistoryEntry entry = history->newEntry(keep.operation, keep.name,
                                               {pair[0].destination, pair[1].destination});
        entry.matched = keep.matched;
        record.keep =
            RecordedKeep{history->folder(), history->maxEntries(), history->maxBytes(), entry};
    }

    // The record and every copy must be on disk, names included, before anything is renamed:
    // from then on recovery may finish the switch from them.
    const QString recordPath = recordIn(folderOf(pair[0].destination));
    if (!fileSystem.writeRecord(recordPath, recordBytes(record), &outcome.reason) ||
        !syncFolders(steps, fileSystem, &outcome.reason)) {
        outcome.failedPath = recordPath;
        removeIfPresent(recordPath, fileSystem);
        discardStaged();
        return outcome;
    }

    // Until a copy takes a destination's name, every staged copy is still there: a failure is
    // undone by renaming the set-aside files back, and a crash is completed from the record.
    std::vector<const RecordedStep*> setAside;
    for (const RecordedStep& step : steps) {
        if (!present(step.destination))
            continue;
        if (!fileSystem.rename(step.destination, step.aside, &outcome.reason)) {
            outcome.failedPath = step.destination;
            break;
        }
        setAside.push_back(&step);
    }
    if (outcome.failedPath.isEmpty() && history != nullptr) {
        const KeepOutcome kept = history->keep(record.keep->entry, asidesOf(steps), recordPath,
                                               fileSystem, &outcome.reason);
        if (kept != KeepOutcome::Kept) {
            outcome.failedPath = history->folder();
            outcome.notKept = true;
            outcome.leftPending = kept == KeepOutcome::Pending;
            if (outcome.leftPending)
                return outcome;
        }
    }
    bool anyInPlace = false;
    for (const RecordedStep& step : steps) {
        if (!outcome.failedPath.isEmpty())
            break;
        if (step.staged.isEmpty())
            continue;
        if (!fileSystem.rename(step.staged, step.destination, &outcome.reason)) {
            outcome.failedPath = step.destination;
            // A copy in place, or a pair in the history, can no longer be taken back safely.
            outcome.leftPending = anyInPlace || history != nullptr;
            if (outcome.leftPending)
                return outcome;
        }
        anyInPlace = true;
    }

    if (outcome.failedPath.isEmpty()) {
        QString error;
        if (!syncFolders(steps, fileSystem, &error) ||
            (history != nullptr && !history->flushAndPrune(fileSystem, &error))) {
            // The renames are done but not known to be on disk: the record stays, so that the
            // next recovery finishes the switch whatever the disk kept.
            outcome.done = true;
            return outcome;
        }
        for (const RecordedStep& step : steps)
            removeIfPresent(step.aside, fileSystem);
        removeIfPresent(recordPath, fileSystem);
        outcome.done = true;
        return outcome;
    }

    QString undoError;
    for (std::size_t n = setAside.size(); n-- > 0;) {
        if (!fileSystem.rename(setAside[n]->aside, setAside[n]->destination, &undoError)) {
            outcome.leftPending = true;
            return outcome;
        }
    }
    // The record goes before the copies: with the record still there, a crash among the copies'
    // removals would have recovery put the remaining ones in place.
    if (!syncFolders(steps, fileSystem, &undoError)) {
        outcome.leftPending = true;
        return outcome;
    }
    removeIfPresent(recordPath, fileSystem);
    discardStaged();
    return outcome;
}

RecoveryOutcome recoverFolders(const QStringList& folders, FileSystem& fileSystem)
{
    RecoveryOutcome outcome;
    for (const QString& folder : folders) {
        const QString record = recordIn(folder);
        QFile file(record);
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly)) {
            outcome = {false, file.errorString()};
            return outcome;
        }
        const Record recorded = parsedRecord(file.readAll());
        file.close();
        if (!rollForward(recorded, record, fileSystem, &outcome.reason) ||
            !fileSystem.removeFile(record, &outcome.reason)) {
            outcome.done = false;
            return outcome;
        }
    }
    for (const QString& folder : folders) {
        for (const QString& leftover : HangarTemporaries::inFolder(folder)) {
            if (!fileSystem.removeFile(leftover, &outcome.reason)) {
                outcome.done = false;
                return outcome;
            }
        }
    }
    return outcome;
}
