#include "Messages.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Messages", text);
}

} // namespace

namespace Messages {

QString foldersNotKnown(const QString& settingsFile)
{
    return tr("There is no settings file %1 yet, so the folders that hold FS9.cfg and Scenery.cfg "
              "are not known. Set them with \"hangarctl folders --fs9 DIR --scenery DIR\", or in "
              "the window.")
        .arg(settingsFile);
}

QString notListed(const StoredState& state, const QString& name)
{
    if (state.namesRead()) {
        return tr("There is no configuration named \"%1\". \"hangarctl list\" shows the "
                  "configurations.")
            .arg(name);
    }
    const QString missing = state.fs9Folder != state.storedFs9Folder()
                                ? state.storedFs9Folder()
                                : state.storedSceneryFolder();
    return tr("There is no configuration named \"%1\" while the folder %2 does not exist: saved "
              "configurations are listed only when both folders exist.")
        .arg(name, missing);
}

QString folderMissing(const QString& folder)
{
    return tr("The folder \"%1\" does not exist. Nothing was changed.").arg(folder);
}

QString heldByWindow(const QString& settingsFile, qint64 holder)
{
    return tr("The Hangar window is open on %1 (process %2). Close it first: when it closes, it "
              "writes its own list of configurations over any change made meanwhile. Nothing was "
              "changed.")
        .arg(settingsFile)
        .arg(holder);
}

QString heldByCommand(const QString& settingsFile, qint64 holder, qint64 seconds)
{
    return tr("Another hangarctl (process %1) has been changing %2 for more than %3 seconds. "
              "Nothing was changed.")
        .arg(holder)
        .arg(settingsFile)
        .arg(seconds);
}

QString lockUnavailable(const QString& lockFile)
{
    return tr("%1 could not be created, so the settings cannot be changed safely. Nothing was "
              "changed.")
        .arg(lockFile);
}

QString simulatorRunning(const QList<qint64>& processes)
{
    QStringList numbers;
    for (qint64 pid : processes)
        numbers << QString::number(pid);
    return tr("The simulator is running (fs9.exe, process %1). It writes FS9.cfg and Scenery.cfg "
              "back when it quits, which would undo this change. Quit it first, or add --force.")
        .arg(numbers.join(QStringLiteral(", ")));
}

QString noInstallFound()
{
    return tr("No Wine prefix of yours holds both folders of FS9, so none was stored. Set them "
              "with \"hangarctl folders --fs9 DIR --scenery DIR\".");
}

QString unreadablePair(const QString& name, const QString& reason)
{
    return tr("The files of \"%1\" could not be read: %2").arg(name, reason);
}

} // namespace Messages
