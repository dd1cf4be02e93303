#include "StoredState.h"

#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "DirectoryLookup.h"
#include "HangarTemporaries.h"
#include "IniAccess.h"
#include "LinkTarget.h"
#include "PairSwitch.h"
#include "SettingsKeys.h"
#include "SlotMerge.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString readKey(const QString& settingsFile, const QString& key)
{
    return ReadIni(settingsFile, SettingsKeys::section(), key);
}

// A folder typed as a relative path belongs beside the settings file, wherever a command runs.
QString resolvedFolder(const QString& text, const QString& settingsFile)
{
    if (text.isEmpty() || !QDir::isRelativePath(text))
        return text;
    return QDir::toNativeSeparators(
        QDir::cleanPath(QFileInfo(settingsFile).absoluteDir().filePath(text)));
}

// The stored folder, or the empty text with the stored one kept aside when it does not exist.
QString checkedFolder(const QString& stored, std::optional<QString>& missing)
{
    if (FolderExists(stored))
        return stored;
    missing = stored;
    return {};
}

} // namespace

StoredState StoredState::read(const QString& settingsFile)
{
    return readFile(settingsFile, nullptr);
}

StoredState StoredState::readCompleted(const QString& settingsFile, History* history,
                                       FileSystem& fileSystem, SwitchLocks& locks, QString* message)
{
    const Completion completion{history, fileSystem, locks, message};
    return readFile(settingsFile, &completion);
}

StoredState StoredState::recoverAndRead(const QString& settingsFile, History* history,
                                        FileSystem& fileSystem, SwitchLocks& locks,
                                        QString* message)
{
    // Temporaries of a write of this settings file that a crash interrupted, where a link to it
    // leads; another settings file beside it may be in the middle of its own write.
    const QFileInfo written(followLinks(settingsFile));
    const QString prefix = u'.' + written.fileName() + QStringLiteral(".hangar-");
    QString ignored;
    for (const QString& leftover : HangarTemporaries::inFolder(written.path())) {
        if (QFileInfo(leftover).fileName().startsWith(prefix))
            fileSystem.removeFile(leftover, &ignored);
    }
    return readCompleted(settingsFile, history, fileSystem, locks, message);
}

StoredState StoredState::readFile(const QString& settingsFile, const Completion* completion)
{
    StoredState state;
    state.m_fileFound = FileExists(settingsFile);
    if (!state.m_fileFound)
        return state;
    state.m_fs9Text = readKey(settingsFile, SettingsKeys::fs9Folder());
    state.m_sceneryText = readKey(settingsFile, SettingsKeys::sceneryFolder());
    state.fs9Folder =
        checkedFolder(resolvedFolder(state.m_fs9Text, settingsFile), state.m_missingFs9Folder);
    state.sceneryFolder = checkedFolder(resolvedFolder(state.m_sceneryText, settingsFile),
                                        state.m_missingSceneryFolder);
    if (state.m_missingFs9Folder || state.m_missingSceneryFolder) {
        for (int n = 1; n <= SettingsKeys::slotCount; ++n)
            state.m_keptSlots << readKey(settingsFile, SettingsKeys::slot(n));
        return state;
    }

    state.m_namesRead = true;
    const auto folders = ConfigFolders::fromTexts(state.fs9Folder, state.sceneryFolder);
    // A switch that a crash interrupted is completed before the names are looked up, so that the
    // list shows what is on disk; a failure is told at the next operation, which tries again.
    QString busy;
    if (completion != nullptr) {
        History* history = completion->history;
        if (completion->locks.take({folders.fs9, folders.scenery},
                                   history != nullptr ? history->folder() : QString(),
                                   completion->fileSystem, &busy))
            recoverOnce(completion->locks, folders, completion->fileSystem, history);
        else if (completion->message != nullptr)
            *completion->message = busy;
    }
    for (int n = 1; n <= SettingsKeys::slotCount; ++n) {
        const QString name = readKey(settingsFile, SettingsKeys::slot(n));
        // A hand-edited name that cannot name snapshot files is skipped like one whose files
        // are missing: no path is built from it.
        // A name listed already in any letter case picks the same configuration: listed once.
        if (name.isEmpty() || whyNameUnusable(name) || positionOfName(state.entries(), name) >= 0)
            continue;
        const bool mainPresent = FileExists(folders.snapshotMain(name));
        const bool sceneryPresent = FileExists(folders.snapshotScenery(name));
        if (mainPresent && sceneryPresent)
            state.names << name;
    }
    state.lastConfig = readKey(settingsFile, SettingsKeys::lastConfig());
    return state;
}

QStringList StoredState::entries() const
{
    return QStringList{originalConfigName()} + names;
}

QStringList StoredState::slotValues() const
{
    if (!m_namesRead)
        return mergedSlots(m_keptSlots, names);
    QStringList values;
    for (int n = 1; n <= SettingsKeys::slotCount; ++n)
        values << names.value(n - 1);
    return values;
}

QString StoredState::folderText(const QString& folder, const QString& storedText,
                                const QString& settingsFile)
{
    return folder == resolvedFolder(storedText, settingsFile) ? storedText : folder;
}

bool StoredState::write(const QString& settingsFile, QString* message) const
{
    // The user's folder outlives a drive that was not mounted when the run began.
    const QString fs9 = fs9Folder.isEmpty() && m_missingFs9Folder ? *m_missingFs9Folder : fs9Folder;
    const QString scenery =
        sceneryFolder.isEmpty() && m_missingSceneryFolder ? *m_missingSceneryFolder : sceneryFolder;
    QStringList keys{SettingsKeys::fs9Folder(), SettingsKeys::sceneryFolder()};
    QStringList values{folderText(fs9, m_fs9Text, settingsFile),
                       folderText(scenery, m_sceneryText, settingsFile)};
    const QStringList slotTexts = slotValues();
    for (int n = 1; n <= SettingsKeys::slotCount; ++n) {
        keys << SettingsKeys::slot(n);
        values << slotTexts.at(n - 1);
    }
    if (lastConfig) {
        keys << SettingsKeys::lastConfig();
        values << *lastConfig;
    }

    ProfileFile::Edit settings;
    QString error;
    bool written = settings.open(settingsFile, &error);
    if (written) {
        for (qsizetype i = 0; i < keys.size(); ++i)
            WriteIni(settings, SettingsKeys::section(), keys.at(i), values.at(i));
        written = settings.commit(&error);
    }
    if (!written) {
        *message = QStringLiteral("The settings could not be saved to %1:%2%3")
                       .arg(settingsFile, QChar(13), error);
    }
    return written;
}
