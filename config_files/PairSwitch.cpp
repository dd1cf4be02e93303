#include "PairSwitch.h"

#include "HangarTemporaries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
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

QByteArray recordBytes(const std::vector<RecordedStep>& steps)
{
    QJsonArray array;
    for (const RecordedStep& step : steps) {
        array.append(QJsonObject{{QStringLiteral("destination"), step.destination},
                                 {QStringLiteral("staged"), step.staged},
                                 {QStringLiteral("aside"), step.aside}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("steps"), array}}).toJson();
}

// The steps of a whole record; none for a record that a crash tore while it was written, before
// anything was renamed.
std::vector<RecordedStep> recordedSteps(const QByteArray& bytes)
{
    std::vector<RecordedStep> steps;
    const QJsonArray array = QJsonDocument::fromJson(bytes).object().value(u"steps").toArray();
    for (const auto& value : array) {
        const QJsonObject object = value.toObject();
        steps.push_back({object.value(u"destination").toString(),
                         object.value(u"staged").toString(), object.value(u"aside").toString()});
    }
    return steps;
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

// Finishes a decided switch from wherever it stopped: every step is idempotent.
bool rollForward(const std::vector<RecordedStep>& steps, FileSystem& fileSystem, QString* error)
{
    for (const RecordedStep& step : steps) {
        const bool copyWaiting = !step.staged.isEmpty() && present(step.staged);
        const bool deletionWaiting = step.staged.isEmpty();
        if ((copyWaiting || deletionWaiting) && present(step.destination) &&
            !fileSystem.rename(step.destination, step.aside, error))
            return false;
        if (copyWaiting && !fileSystem.rename(step.staged, step.destination, error))
            return false;
    }
    if (!syncFolders(steps, fileSystem, error))
        return false;
    for (const RecordedStep& step : steps) {
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

SwitchOutcome switchPair(const std::array<PairStep, 2>& pair, FileSystem& fileSystem)
{
    SwitchOutcome outcome;
    std::vector<RecordedStep> steps;
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

    // The record and every copy must be on disk, names included, before anything is renamed:
    // from then on recovery may finish the switch from them.
    const QString record = recordIn(folderOf(pair[0].destination));
    if (!fileSystem.writeRecord(record, recordBytes(steps), &outcome.reason) ||
        !syncFolders(steps, fileSystem, &outcome.reason)) {
        outcome.failedPath = record;
        removeIfPresent(record, fileSystem);
        discardStaged();
        return outcome;
    }

    // Each destination goes aside before its copy takes its name, so that a refused rename can be
    // undone by renaming the set-aside files back.
    std::vector<const RecordedStep*> renamed;
    for (const RecordedStep& step : steps) {
        const bool wasPresent = present(step.destination);
        if (wasPresent && !fileSystem.rename(step.destination, step.aside, &outcome.reason)) {
            outcome.failedPath = step.destination;
            break;
        }
        if (wasPresent)
            renamed.push_back(&step);
        if (!step.staged.isEmpty() &&
            !fileSystem.rename(step.staged, step.destination, &outcome.reason)) {
            outcome.failedPath = step.destination;
            break;
        }
    }

    if (outcome.failedPath.isEmpty()) {
        QString error;
        if (!syncFolders(steps, fileSystem, &error)) {
            // The renames are done but not known to be on disk: the record stays, so that the
            // next recovery finishes the switch whatever the disk kept.
            outcome.done = true;
            return outcome;
        }
        for (const RecordedStep& step : steps)
            removeIfPresent(step.aside, fileSystem);
        removeIfPresent(record, fileSystem);
        outcome.done = true;
        return outcome;
    }

    QString undoError;
    for (auto it = renamed.rbegin(); it != renamed.rend(); ++it) {
        if (!fileSystem.rename((*it)->aside, (*it)->destination, &undoError)) {
            outcome.leftPending = true;
            return outcome;
        }
    }
    discardStaged();
    removeIfPresent(record, fileSystem);
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
        const std::vector<RecordedStep> steps = recordedSteps(file.readAll());
        file.close();
        if (!rollForward(steps, fileSystem, &outcome.reason) ||
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
