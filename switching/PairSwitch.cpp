#include "PairSwitch.h"

#include "ConfigPaths.h"
#include "FileCommit.h"
#include "HangarTemporaries.h"

#include <QCoreApplication>
#include <QDateTime>
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

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(PairSwitch)
};

// A record is a few hundred bytes; a larger file at its name is not one.
constexpr qint64 largestRecordSize = qint64{64} * 1024;

// One file of a switch as the record names it: the copy waiting beside the destination (empty
// for a deletion), the name the destination's file takes beside it before it is replaced, and
// which file the destination was when the switch was decided.
struct RecordedStep
{
    QString destination;
    QString staged;
    QString aside;
    // Empty when there was no file at the destination.
    QString identity;
};

QString recordIn(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral(".hangar-switch.json"));
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).path();
}

// A path as one text whatever separators and redundant parts it was written with.
QString normalised(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// A link counts as present even when it points nowhere: it is set aside like a file.
bool present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The history entry that the set-aside files become, as the record names it.
struct RecordedKeep
{
    QString folder;
    HistoryEntry entry;
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
                                 {QStringLiteral("aside"), step.aside},
                                 {QStringLiteral("identity"), step.identity}});
    }
    QJsonObject object = record.keep ? record.keep->entry.toJson() : QJsonObject();
    object.insert(QStringLiteral("steps"), array);
    // Which history the pair was to be kept in; the one recovering keeps it in its own.
    if (record.keep) {
        object.insert(QStringLiteral("history"),
                      QJsonObject{{QStringLiteral("folder"), record.keep->folder}});
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
        const QString destination = step.value(u"destination").toString();
        // A record of an earlier version names no identity: the file there now counts as the
        // one the switch replaces, as that version took it.
        record.steps.push_back({destination, step.value(u"staged").toString(),
                                step.value(u"aside").toString(),
                                step.contains(u"identity") ? step.value(u"identity").toString()
                                                           : fileIdentity(destination)});
    }
    const QJsonObject history = object.value(u"history").toObject();
    const auto entry = HistoryEntry::fromJson(object);
    if (!history.isEmpty() && entry)
        record.keep = RecordedKeep{history.value(u"folder").toString(), *entry};
    return record;
}

// Whether the name is one of Hangar's temporaries of the kind beside the destination.
bool isTemporaryOf(const QString& path, const QString& destination, const QString& kind)
{
    const QString name = QFileInfo(path).fileName();
    return normalised(folderOf(path)) == normalised(folderOf(destination)) &&
           HangarTemporaries::isTemporaryName(name) &&
           name.startsWith(u'.' + QFileInfo(destination).fileName() + QStringLiteral(".hangar-") +
                           kind + u'-');
}

// Why the record is not one that a switch in these folders writes, or nothing when it is. Any
// program may write the folders: a record is followed only when the files it changes are a pair
// of the folders (live or one snapshot pair, FS9 first), every other file it names is one of
// Hangar's temporaries beside them, and the entry it describes is of that very pair.
std::optional<QString> whyForeign(const Record& record, const ConfigFolders& folders)
{
    if (record.steps.size() != 2)
        return Texts::tr("it does not name the two files of a pair");
    if (!isPairOf(folders, record.steps[0].destination, record.steps[1].destination))
        return Texts::tr("it names %1 and %2, which are not a pair of configuration files in the "
                         "folders")
            .arg(record.steps[0].destination, record.steps[1].destination);
    for (std::size_t i = 0; i < record.steps.size(); ++i) {
        const RecordedStep& step = record.steps[i];
        if ((!step.staged.isEmpty() &&
             !isTemporaryOf(step.staged, step.destination, QStringLiteral("new"))) ||
            !isTemporaryOf(step.aside, step.destination, QStringLiteral("old")))
            return Texts::tr("it names files beside %1 that Hangar does not make")
                .arg(step.destination);
        if (record.keep &&
            normalised(record.keep->entry.files[i].path) != normalised(step.destination))
            return Texts::tr("the pair it keeps is not the pair it changes");
    }
    return std::nullopt;
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

std::array<QString, 2> asidesOf(const std::vector<RecordedStep>& steps)
{
    return {steps.at(0).aside, steps.at(1).aside};
}

void removeIfPresent(const QString& path, FileSystem& fileSystem)
{
    QString ignored;
    if (!path.isEmpty() && present(path))
        fileSystem.removeFile(path, &ignored);
}

bool keepTimeOf(const QString& original, const QString& copy, QString* error)
{
    QFile file(copy);
    if (file.open(QIODevice::ReadWrite) &&
        file.setFileTime(QFileInfo(original).lastModified(), QFileDevice::FileModificationTime))
        return true;
    *error = file.errorString();
    return false;
}

// Gives the file at the destination a second name at the step's aside, so that it stays on disk
// when a copy is renamed over the destination: the live name is never without a file. A file
// with other names already (a deduplicating tool links files) is copied instead, as is a file on
// a file system without such names: a write through another name must never change kept bytes.
bool setAside(const RecordedStep& step, FileSystem& fileSystem, QString* error)
{
    if (step.staged.isEmpty())
        return fileSystem.rename(step.destination, step.aside, error);
    if (nameCount(step.destination) == 1 && fileSystem.link(step.destination, step.aside, error))
        return true;
    const auto copy = fileSystem.stageCopy(step.destination, step.aside, error);
    // The copy stands for the file as the history describes it, time of last change included.
    if (copy && keepTimeOf(step.destination, *copy, error) &&
        fileSystem.rename(*copy, step.aside, error))
        return true;
    if (copy)
        removeIfPresent(*copy, fileSystem);
    return false;
}

// Puts back what set-aside did, before any copy took a destination's name.
bool undoSetAside(const RecordedStep& step, FileSystem& fileSystem, QString* error)
{
    if (!present(step.aside))
        return true;
    if (step.staged.isEmpty())
        return present(step.destination) || fileSystem.rename(step.aside, step.destination, error);
    return fileSystem.removeFile(step.aside, error);
}

// Where a switch that a crash interrupted stands, one file at a time.
enum class StepState
{
    // The destination is still the file the switch replaces (or still nothing), the copy waits.
    Waiting,
    // The copy is in place, or the file deleted.
    Done,
    // The copy is gone while the destination was not replaced: the switch cannot go forward.
    CopyLost,
    // Another program put a file of its own at the destination since the crash.
    Replaced
};

StepState stateOf(const RecordedStep& step)
{
    const QString now = fileIdentity(step.destination);
    const bool original = now == step.identity;
    if (step.staged.isEmpty())
        return now.isEmpty() ? StepState::Done
                             : (original ? StepState::Waiting : StepState::Replaced);
    if (present(step.staged))
        return original ? StepState::Waiting : StepState::Replaced;
    return original ? StepState::CopyLost : StepState::Done;
}

// A file another program wrote at a destination after the crash keeps its bytes under a name of
// its own beside it ("FS9.cfg.found-20250107-211544"), where the user sees it.
bool keepStrangersFile(const RecordedStep& step, FileSystem& fileSystem, QString* error)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept = step.destination + QStringLiteral(".found-") + stamp;
    for (int n = 2; present(kept); ++n)
        kept = step.destination + QStringLiteral(".found-%1-%2").arg(stamp).arg(n);
    return fileSystem.rename(step.destination, kept, error);
}

// Takes back a switch none of whose copies is in place: the destinations keep the files they
// have. A file that the history took already while it still had its live name is given bytes of
// its own, so that the live file can change without changing what is kept.
bool rollBack(const Record& record, History* history, FileSystem& fileSystem, QString* error)
{
    for (std::size_t i = 0; i < record.steps.size(); ++i) {
        const RecordedStep& step = record.steps[i];
        if (!undoSetAside(step, fileSystem, error))
            return false;
        if (history == nullptr || !record.keep || record.keep->entry.files[i].keptAs.isEmpty())
            continue;
        const QString kept = history->keptFilePath(record.keep->entry.files[i].keptAs);
        if (!step.identity.isEmpty() && fileIdentity(kept) == step.identity) {
            const auto copy = fileSystem.stageCopy(kept, kept, error);
            if (!copy || !fileSystem.rename(*copy, kept, error))
                return false;
        }
    }
    if (!syncFolders(record.steps, fileSystem, error))
        return false;
    for (const RecordedStep& step : record.steps)
        removeIfPresent(step.staged, fileSystem);
    return true;
}

// Finishes a decided switch from wherever it stopped: every step is idempotent. The set-aside
// files go to the history before they are removed.
bool rollForward(const Record& record, const QString& recordPath, History* history,
                 FileSystem& fileSystem, QString* error)
{
    for (std::size_t i = 0; i < record.steps.size(); ++i) {
        const RecordedStep& step = record.steps[i];
        StepState state = stateOf(step);
        if (state == StepState::Replaced) {
            if (!keepStrangersFile(step, fileSystem, error))
                return false;
            state = StepState::Waiting;
        }
        if (state != StepState::Waiting || present(step.aside) || !present(step.destination))
            continue;
        // Set aside and kept before the crash: the history holds the very file.
        const QString keptAs = record.keep ? record.keep->entry.files[i].keptAs : QString();
        if (history != nullptr && !keptAs.isEmpty() &&
            fileIdentity(history->keptFilePath(keptAs)) == step.identity)
            continue;
        if (!setAside(step, fileSystem, error))
            return false;
    }
    if (record.keep && history != nullptr &&
        history->complete(record.keep->entry, asidesOf(record.steps),
                          normalised(record.keep->folder) == normalised(history->folder())
                              ? recordPath
                              : QString(),
                          fileSystem, error) != KeepOutcome::Kept)
        return false;
    for (const RecordedStep& step : record.steps) {
        if (!step.staged.isEmpty() && present(step.staged) &&
            !fileSystem.rename(step.staged, step.destination, error))
            return false;
    }
    if (!syncFolders(record.steps, fileSystem, error) ||
        (history != nullptr && !history->flushAndPrune(fileSystem, error)))
        return false;
    for (const RecordedStep& step : record.steps)
        removeIfPresent(step.aside, fileSystem);
    return true;
}

// Completes or takes back the switch the record describes. Never guesses: a switch that can go
// neither way is left as it is, with its record, and reported.
bool recover(const Record& record, const QString& recordPath, History* history,
             FileSystem& fileSystem, QString* error)
{
    bool anyDone = false;
    bool anyLost = false;
    for (const RecordedStep& step : record.steps) {
        const StepState state = stateOf(step);
        anyDone = anyDone || state == StepState::Done;
        anyLost = anyLost || state == StepState::CopyLost;
    }
    if (anyLost && anyDone) {
        *error = Texts::tr("The copy for one file is missing while the other file was replaced "
                           "already. The record %1 is left for you to look at.")
                     .arg(recordPath);
        return false;
    }
    if (anyLost)
        return rollBack(record, history, fileSystem, error);
    return rollForward(record, recordPath, history, fileSystem, error);
}

} // namespace

SwitchOutcome switchPair(const std::array<PairStep, 2>& pair, FileSystem& fileSystem,
                         const KeepRequest& keep)
{
    SwitchOutcome outcome;
    // A pipe would hang the copy, a folder would go whole: only plain files are switched.
    for (const PairStep& step : pair) {
        for (const QString& path : {step.source, step.destination}) {
            if (!path.isEmpty() && isSpecialFile(path)) {
                outcome.failedPath = path;
                outcome.reason = Texts::tr("It is not a regular file (a folder, a pipe or a "
                                           "device, or a link to one).");
                return outcome;
            }
        }
    }
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
                         HangarTemporaries::nameBeside(step.destination, QStringLiteral("old")),
                         fileIdentity(step.destination)});
    }
    // The record tells recovery which entry the set-aside files become, and their names in the
    // history. A pair that was not there is kept too, as an entry with no files: putting it back
    // deletes what the switch made, so that every change can be undone.
    History* history = keep.history;
    if (history != nullptr) {
        HistoryEntry entry = history->newEntry(keep.operation, keep.name,
                                               {pair[0].destination, pair[1].destination});
        entry.matched = keep.matched;
        record.keep = RecordedKeep{history->folder(), entry};
    }

    // The copies' names must be on disk before the record that names them, and the record's
    // before anything is renamed: from then on recovery may finish the switch from them.
    const QString recordPath = recordIn(folderOf(pair[0].destination));
    if (!syncFolders(steps, fileSystem, &outcome.reason) ||
        !fileSystem.writeRecord(recordPath, recordBytes(record), &outcome.reason) ||
        !fileSystem.syncFolder(folderOf(recordPath), &outcome.reason)) {
        outcome.failedPath = recordPath;
        removeIfPresent(recordPath, fileSystem);
        discardStaged();
        return outcome;
    }

    // Until a copy takes a destination's name, every destination still holds its file: a failure
    // is undone by dropping the second names, and a crash is completed from the record.
    for (const RecordedStep& step : steps) {
        if (present(step.destination) && !setAside(step, fileSystem, &outcome.reason)) {
            outcome.failedPath = step.destination;
            break;
        }
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
            outcome.inPlace = true;
            outcome.leftPending = true;
            return outcome;
        }
        for (const RecordedStep& step : steps)
            removeIfPresent(step.aside, fileSystem);
        removeIfPresent(recordPath, fileSystem);
        outcome.inPlace = true;
        return outcome;
    }

    QString undoError;
    for (const RecordedStep& step : steps) {
        if (!undoSetAside(step, fileSystem, &undoError)) {
            outcome.leftPending = true;
            return outcome;
        }
    }
    // The copies go before the record, flushed: a record outlives its copies only as a switch
    // whose copies are all lost, which recovery takes back, never as one it would complete.
    discardStaged();
    if (!syncFolders(steps, fileSystem, &undoError)) {
        outcome.leftPending = true;
        return outcome;
    }
    removeIfPresent(recordPath, fileSystem);
    return outcome;
}

RecoveryOutcome recoverFolders(const ConfigFolders& folders, FileSystem& fileSystem,
                               History* history)
{
    // One folder when the two are the same.
    QStringList distinct{folders.fs9};
    if (normalised(folders.scenery) != normalised(folders.fs9))
        distinct << folders.scenery;
    RecoveryOutcome outcome;
    bool recordLeft = false;
    for (const QString& folder : distinct) {
        const QString record = recordIn(folder);
        const QFileInfo info(record);
        if (!present(record))
            continue;
        if (!info.isFile() || info.isSymLink() || info.size() > largestRecordSize) {
            outcome = {false, Texts::tr("%1 is not a record Hangar wrote; it was left as it is. "
                                        "Remove it to go on.")
                                  .arg(record)};
            return outcome;
        }
        QFile file(record);
        if (!file.open(QIODevice::ReadOnly)) {
            outcome = {false, file.errorString()};
            return outcome;
        }
        const Record recorded = parsedRecord(file.read(largestRecordSize));
        file.close();
        // Torn while it was written: nothing was renamed yet, and the copies go with the other
        // temporaries.
        if (!recorded.steps.empty()) {
            if (const auto why = whyForeign(recorded, folders)) {
                outcome = {false, Texts::tr("%1 was not written by Hangar for these folders (%2); "
                                            "nothing it names was touched. Remove it to go on.")
                                      .arg(record, *why)};
                return outcome;
            }
            // The pair was to be kept in a history: completed only where one keeps it.
            if (recorded.keep && history == nullptr) {
                recordLeft = true;
                continue;
            }
            if (!recover(recorded, record, history, fileSystem, &outcome.reason)) {
                outcome.done = false;
                return outcome;
            }
        }
        if (!fileSystem.removeFile(record, &outcome.reason)) {
            outcome.done = false;
            return outcome;
        }
    }
    // A record left for later still needs the temporaries it names.
    for (const QString& folder : recordLeft ? QStringList() : distinct) {
        for (const QString& leftover : HangarTemporaries::inFolder(folder)) {
            if (!fileSystem.removeFile(leftover, &outcome.reason)) {
                outcome.done = false;
                return outcome;
            }
        }
    }
    return outcome;
}

RecoveryOutcome recoverOnce(SwitchLocks& locks, const ConfigFolders& folders,
                            FileSystem& fileSystem, History* history)
{
    if (locks.settled())
        return {};
    RecoveryOutcome outcome = recoverFolders(folders, fileSystem, history);
    // Without a history a record may wait for one.
    locks.setSettled(outcome.done && history != nullptr);
    return outcome;
}
