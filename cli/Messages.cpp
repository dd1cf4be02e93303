#include "Messages.h"

#include <QCoreApplication>
#include <algorithm>
#include <numeric>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Messages)
};

// The number of characters to insert, delete or replace to make one text the other.
qsizetype editDistance(const QString& a, const QString& b)
{
    QList<qsizetype> previous(b.size() + 1);
    std::iota(previous.begin(), previous.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        QList<qsizetype> current(b.size() + 1);
        current[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        previous = current;
    }
    return previous.back();
}

// The listed names the typed one most likely meant: those it begins, and those within a few
// typing errors of it, letter case aside.
QStringList nearestNames(const QStringList& entries, const QString& typed)
{
    const QString folded = typed.toCaseFolded();
    const qsizetype limit = std::max<qsizetype>(2, typed.size() / 3);
    qsizetype best = limit + 1;
    QStringList nearest;
    for (const QString& entry : entries) {
        const QString candidate = entry.toCaseFolded();
        const qsizetype distance =
            candidate.startsWith(folded) ? 0 : editDistance(candidate, folded);
        if (distance > limit)
            continue;
        if (distance < best) {
            best = distance;
            nearest.clear();
        }
        if (distance == best)
            nearest << entry;
    }
    return nearest;
}

} // namespace

namespace Messages {

QString foldersNotKnown(const QString& settingsFile)
{
    return Texts::tr(
               "There is no settings file %1 yet, so the folders that hold FS9.cfg and Scenery.cfg "
               "are not known. Set them with \"hangarctl folders --fs9 DIR --scenery DIR\", or in "
               "the window.")
        .arg(settingsFile);
}

QString notListed(const StoredState& state, const QString& name)
{
    if (state.namesRead()) {
        const QStringList near = nearestNames(state.entries(), name);
        if (!near.isEmpty()) {
            return Texts::tr(R"(There is no configuration named "%1". Did you mean "%2"?)")
                .arg(name, near.join(QStringLiteral(R"(" or ")")));
        }
        return Texts::tr("There is no configuration named \"%1\". \"hangarctl list\" shows the "
                         "configurations.")
            .arg(name);
    }
    const QString missing = state.fs9Folder != state.storedFs9Folder()
                                ? state.storedFs9Folder()
                                : state.storedSceneryFolder();
    return Texts::tr(
               "There is no configuration named \"%1\" while the folder %2 does not exist: saved "
               "configurations are listed only when both folders exist.")
        .arg(name, missing);
}

QString folderMissing(const QString& folder)
{
    return Texts::tr("The folder \"%1\" does not exist. Nothing was changed.").arg(folder);
}

QString heldByWindow(const QString& settingsFile, qint64 holder)
{
    return Texts::tr(
               "The Hangar window is open on %1 (process %2). Close it first: when it closes, it "
               "writes its own list of configurations over any change made meanwhile. Nothing was "
               "changed.")
        .arg(settingsFile)
        .arg(holder);
}

QString heldByCommand(const QString& settingsFile, qint64 holder, qint64 seconds)
{
    return Texts::tr(
               "Another hangarctl (process %1) has been changing %2 for more than %3 seconds. "
               "Nothing was changed.")
        .arg(holder)
        .arg(settingsFile)
        .arg(seconds);
}

QString lockUnavailable(const QString& lockFile)
{
    return Texts::tr(
               "%1 could not be created, so the settings cannot be changed safely. Nothing was "
               "changed.")
        .arg(lockFile);
}

QString noInstallFound()
{
    return Texts::tr(
        "No Wine prefix of yours holds both folders of FS9, so none was stored. Set them "
        "with \"hangarctl folders --fs9 DIR --scenery DIR\".");
}

QString unreadablePair(const QString& name, const QString& reason)
{
    return Texts::tr("The files of \"%1\" could not be read: %2").arg(name, reason);
}

QString unsavedLiveKept(int entry)
{
    return Texts::tr("The live files were a copy of no saved configuration: they are kept in the "
                     "history as entry %1. \"hangarctl undo\" or \"hangarctl restore %1\" "
                     "brings them back.")
        .arg(entry);
}

} // namespace Messages
