#include "Messages.h"

#include <QCoreApplication>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(Messages)
};

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
