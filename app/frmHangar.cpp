#include "frmHangar.h"

#include "AppInfo.h"
#include "ConfigNames.h"
#include "ConfigOperations.h"
#include "ConfigPaths.h"
#include "Dialogs.h"
#include "DirectoryLookup.h"
#include "FileOperation.h"
#include "Fs9Detection.h"
#include "HistoryRestore.h"
#include "KeptPairDiff.h"
#include "SettingsLocation.h"
#include "SimulatorGuard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr qsizetype typingLimit = 15;

QString errorTitle()
{
    return QStringLiteral("Error");
}

QString undoKeys()
{
    return QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText);
}

// The operation that replaced a kept pair, for the history dialog.
QString replacedBy(const HistoryEntry& entry)
{
    if (entry.operation == u"LOAD")
        return QStringLiteral("Load of \"%1\"").arg(entry.name);
    if (entry.operation == u"SAVE")
        return QStringLiteral("Save under \"%1\"").arg(entry.name);
    if (entry.operation == u"REMOVE")
        return QStringLiteral("Remove of \"%1\"").arg(entry.name);
    // A restore's name is that of the entry it put back, which says nothing of what it replaced.
    return QStringLiteral("Undo or restore");
}

QStringList listEntries(const QComboBox* list)
{
    QStringList entries;
    for (int position = 0; position < list->count(); ++position)
        entries << list->itemText(position);
    return entries;
}

} // namespace

frmHangar::frmHangar(const HangarServices& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
    createControls();
    wireEvents();
    // A desktop session that ends closes no window: its settings are written all the same.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { Form_Unload(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { Form_Unload(); });
    Form_Load();
}

void frmHangar::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmHangar::showEvent(QShowEvent* event)
{
    // A dialog centres itself on the screen; this window opens where the system places a new one,
    // so the dialog's own handler is passed over.
    QWidget::showEvent(event); // NOLINT(bugprone-parent-virtual-call)
}

void frmHangar::reject()
{
    // Escape is the Quit button's key, and must close through the same unload as every close.
    cmdQuit->click();
}

void frmHangar::Form_Load()
{
    // Where the settings live is only looked up here; IniPath takes it once start-up goes on.
    const QString settingsFile = settingsFilePath(m_services.appInfo);
    // Even a window whose start-up stops here keeps what its operations replace.
    m_history.emplace(History::forSettings(m_services.appInfo, settingsFile));
    if (!m_services.appInfo.takeInstanceLock(settingsFile))
        return;

    const AppVersion version = m_services.appInfo.version();
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(version.major)
                            .arg(version.minor)
                            .arg(version.revision));
    lblFond->lower();
    cmdSAVE->move(cmdSAVE->x(), cmdLOAD->y());
    cmdREMOVE->move(cmdREMOVE->x(), cmdLOAD->y());
    lblLastConfigName->move(lblLastConfigName->x(), cboConfigNameTO->y());
    lblLastConfigName->move(cmdLOAD->x(), lblLastConfigName->y());
    RefreshLoadCaption();

    IniPath = settingsFile;
    // Another copy's operation on the folders is waited for; when it goes on for too long, the
    // next operation here tells so.
    SwitchLocks locks;
    m_stored = StoredState::recoverAndRead(*IniPath, &*m_history, m_services.fileSystem, locks);
    cboConfigName->addItems(m_stored.entries());
    if (m_stored.fileFound()) {
        txtFS9Folder->setText(m_stored.fs9Folder);
        txtSceFolder->setText(m_stored.sceneryFolder);
    }
    LastConfig = m_stored.lastConfig;

    cboConfigName->setEditText(cboConfigName->itemText(0));
    showLastConfig();
}

void frmHangar::cmdQuit_Click()
{
    close();
}

void frmHangar::Form_Unload()
{
    // A window whose start-up stopped early has no settings file to write to. Every way of
    // ending writes once: the close, the application's quitting after it and a logout that goes
    // through after asking for the settings find nothing new to write. A logout that is
    // cancelled leaves the window open, and its next close writes what changed since.
    if (!IniPath || m_unloaded == unloadState())
        return;
    m_unloaded = unloadState();

    m_stored.fs9Folder = txtFS9Folder->text();
    m_stored.sceneryFolder = txtSceFolder->text();
    m_stored.names = listEntries(cboConfigName).mid(1);
    m_stored.lastConfig = LastConfig;
    QString message;
    if (!m_stored.write(*IniPath, &message))
        showError(m_loadedThisRun ? changeNotRecorded(Operation::Load, *LastConfig, message)
                                  : message);
}

frmHangar::UnloadState frmHangar::unloadState() const
{
    return {txtFS9Folder->text(), txtSceFolder->text(), listEntries(cboConfigName), LastConfig};
}

void frmHangar::cboConfigName_Change()
{
    RefreshLoadCaption();
}

void frmHangar::cboConfigName_Click()
{
    RefreshLoadCaption();
}

void frmHangar::cboConfigName_KeyPress(int& keyAscii)
{
    keyAscii = 0;
}

void frmHangar::cboConfigNameTO_Change()
{
    refreshRemoveEnabled();
}

void frmHangar::cboConfigNameTO_Click()
{
    refreshRemoveEnabled();
}

void frmHangar::cboConfigNameTO_KeyPress(int& keyAscii)
{
    if (cboConfigNameTO->currentText().size() > typingLimit)
        keyAscii = 0;
}

void frmHangar::refreshRemoveEnabled()
{
    cmdREMOVE->setEnabled(!sameConfigName(cboConfigNameTO->currentText(), originalConfigName()));
}

void frmHangar::chkSaveActivation_Click()
{
    const bool editing = chkSaveActivation->isChecked();
    cmdSAVE->setVisible(editing);
    cmdREMOVE->setVisible(editing);
    cboConfigNameTO->setVisible(editing);
    lblLastConfigName->setVisible(!editing);
    cboConfigNameTO->clear();
    cboConfigNameTO->clearEditText();
    if (editing) {
        const int count = cboConfigName->count();
        for (int position = 0; position < count; ++position)
            cboConfigNameTO->addItem(cboConfigName->itemText(position));
        // The drop-down highlights the entry that the field shows.
        cboConfigNameTO->setCurrentIndex(cboConfigName->currentIndex());
        cboConfigNameTO->setEditText(cboConfigName->currentText());
        // Setting the same text again raises no change, but the rule must hold all the same.
        refreshRemoveEnabled();
    }
    cmdLOAD->setVisible(!editing);
    cboConfigName->setEnabled(!editing);
}

void frmHangar::cmdLOAD_Click()
{
    ProcessFiles(QStringLiteral("LOAD"), cboConfigName->currentText(), QString());
}

void frmHangar::cmdSAVE_Click()
{
    ProcessFiles(QStringLiteral("SAVE"), cboConfigName->currentText(),
                 cboConfigNameTO->currentText());
    chkSaveActivation->setChecked(false);
    RefreshLoadCaption();
}

void frmHangar::cmdREMOVE_Click()
{
    ProcessFiles(QStringLiteral("REMOVE"), cboConfigNameTO->currentText(), QString());
    chkSaveActivation->setChecked(false);
    RefreshLoadCaption();
}

void frmHangar::cmdFS9folder_Click()
{
    const QString folder = BrowseFolder(QStringLiteral("Select the FLIGHT SIMULATOR folder"),
                                        txtFS9Folder->text(), true);
    if (!folder.isEmpty())
        txtFS9Folder->setText(folder);
}

void frmHangar::cmdSceFolder_Click()
{
    const QString folder = BrowseFolder(
        QStringLiteral("Select the Flight Simulator SCENERY folder"), txtSceFolder->text(), false);
    if (!folder.isEmpty())
        txtSceFolder->setText(folder);
}

QString frmHangar::BrowseFolder(const QString& prompt, const QString& boxText, bool fs9Folder)
{
    // The picker opens on the folder the box names. A box that names none (a first run shows the
    // layout's texts) opens where the simulator is found, else as near to the text as the disk
    // allows.
    QString start = nearestExistingFolder(boxText);
    const QString named = QDir::cleanPath(QDir::fromNativeSeparators(boxText));
    if (QDir::fromNativeSeparators(start) != named) {
        const auto install = chosenInstall(detectFs9OnThisSystem());
        if (install)
            start = QDir::toNativeSeparators(fs9Folder ? install->mainFolder
                                                       : install->simulatorFolder);
    }
    return m_services.dialogs.pickFolder(prompt, start);
}

void frmHangar::Form_Undo()
{
    restoreKept(std::nullopt);
}

void frmHangar::Form_History()
{
    m_services.dialogs.showHistory(*this);
}

QList<HistoryRow> frmHangar::historyRows()
{
    QList<HistoryRow> rows;
    for (const HistoryEntry& entry : m_history->entries()) {
        rows.append({entry.id,
                     entry.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     keptPairText(entry), replacedBy(entry)});
    }
    return rows;
}

QString frmHangar::historyDifferences(int id)
{
    for (const HistoryEntry& entry : m_history->entries()) {
        if (entry.id == id)
            return keptPairDifferences(*m_history, entry);
    }
    return QStringLiteral("The history no longer holds this entry.");
}

void frmHangar::restoreHistoryEntry(int id)
{
    restoreKept(id);
}

void frmHangar::restoreKept(std::optional<int> id)
{
    if (refusedWhileSimulatorRuns())
        return;
    const QList<HistoryEntry> entries = m_history->entries();
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const HistoryEntry& e) {
        return id ? e.id == *id : e.id == entries.first().id;
    });
    StoredState state = currentState();
    const RestoreResult result = id ? restoreEntry(*id, state, *m_history, m_services.fileSystem)
                                    : undoLastChange(state, *m_history, m_services.fileSystem);
    if (!result.performed || entry == entries.end()) {
        showError(result.message);
        return;
    }
    if (chkSaveActivation->isChecked())
        chkSaveActivation->setChecked(false);
    if (result.listChanged)
        followList(state.names);
    if (isLivePair(*entry)) {
        // The label shows again what it showed with the pair that comes back: remembered when
        // this run replaced it, else the configuration the pair was a copy of, if any.
        const std::optional<QString> shownBefore = LastConfig;
        if (m_lastConfigKeptWith.contains(entry->id))
            LastConfig = m_lastConfigKeptWith.value(entry->id);
        else if (entry->matched && !entry->matched->isEmpty())
            LastConfig = entry->matched;
        rememberLastConfig(shownBefore);
        showLastConfig();
    }
    RefreshLoadCaption();
    // The core tells it in one line, for a terminal; a message box that never wraps shows its two
    // halves on two lines.
    m_services.dialogs.showMessage(
        QString(result.message).replace(QStringLiteral("; "), QStringLiteral(";") + QChar(13)) +
            QChar(13) + QChar(13) +
            (id ? QStringLiteral("%1 in the window returns to where you were.")
                : QStringLiteral("Pressing %1 again returns to where you were."))
                .arg(undoKeys()),
        id ? QStringLiteral("Restore") : QStringLiteral("Undo"));
}

StoredState frmHangar::currentState() const
{
    StoredState state = m_stored;
    state.fs9Folder = txtFS9Folder->text();
    state.sceneryFolder = txtSceFolder->text();
    state.names = listEntries(cboConfigName).mid(1);
    state.lastConfig = LastConfig;
    return state;
}

void frmHangar::followList(const QStringList& names)
{
    const QString shown = cboConfigName->currentText();
    cboConfigName->clear();
    cboConfigName->addItem(originalConfigName());
    cboConfigName->addItems(names);
    const int position = cboConfigName->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cboConfigName->setCurrentIndex(qMax(position, 0));
    cboConfigName->setEditText(cboConfigName->itemText(cboConfigName->currentIndex()));
}

void frmHangar::rememberLastConfig(const std::optional<QString>& shownBefore)
{
    const QList<HistoryEntry> entries = m_history->entries();
    if (!entries.isEmpty() && isLivePair(entries.first()))
        m_lastConfigKeptWith.insert(entries.first().id, shownBefore);
}

bool frmHangar::refusedWhileSimulatorRuns()
{
    const std::optional<QString> refusal = refusalWhileSimulatorRuns(m_services.processes);
    if (refusal)
        showError(*refusal);
    return refusal.has_value();
}

bool frmHangar::ProcessFiles(const QString& operation, const QString& configName,
                             const QString& newName)
{
    const auto known = operationFromWord(operation);
    if (!known || refusedWhileSimulatorRuns())
        return false;
    StoredState state = currentState();
    const OperationPlace place{txtFS9Folder->text(), txtSceFolder->text(), *m_history,
                               m_services.fileSystem};
    const ListOperationResult result =
        *known == Operation::Load   ? loadListed(state, configName, place)
        : *known == Operation::Save ? saveLive(state, newName, configName, place)
                                    : removeListed(state, configName, place);
    if (!result.message.isEmpty())
        showError(result.message);
    if (state.names != listEntries(cboConfigName).mid(1)) {
        // A saved name is shown at once; after a Remove the list shows "FS Original".
        followList(state.names);
        cboConfigName->setCurrentIndex(*known == Operation::Save ? cboConfigName->count() - 1 : 0);
    }
    if (result.performed && *known == Operation::Load) {
        m_loadedThisRun = true;
        rememberLastConfig(LastConfig);
        LastConfig = state.lastConfig;
        showLastConfig();
    }
    return result.performed;
}

void frmHangar::RefreshLoadCaption()
{
    cmdLOAD->setText(QStringLiteral("&Load  ") + cboConfigName->currentText() +
                     QStringLiteral("  configuration"));
}

void frmHangar::showLastConfig()
{
    lblLastConfigName->setText(QStringLiteral("Last configuration loaded -> ") +
                               LastConfig.value_or(QString()));
}

void frmHangar::showError(const QString& message)
{
    m_services.dialogs.showMessage(message, errorTitle());
}
