#include "frmHangar.h"

#include "AppInfo.h"
#include "ConfigList.h"
#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "Dialogs.h"
#include "DirectoryLookup.h"
#include "FileOperation.h"
#include "SettingsLocation.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
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
    m_stored =
        StoredState::recoverAndRead(*IniPath, m_history->folder(), m_services.fileSystem, locks);
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
    cmdREMOVE->setEnabled(cboConfigNameTO->currentText() != originalConfigName());
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
    const QString name = cboConfigNameTO->currentText();
    const SavePlan plan = planSave(listEntries(cboConfigNameTO), name);
    if (plan.refusal) {
        showError(*plan.refusal);
    } else if (ProcessFiles(QStringLiteral("SAVE"), cboConfigName->currentText(), name) &&
               plan.joinsList) {
        cboConfigName->addItem(name);
        cboConfigName->setCurrentIndex(cboConfigName->count() - 1);
    }
    chkSaveActivation->setChecked(false);
    RefreshLoadCaption();
}

void frmHangar::cmdREMOVE_Click()
{
    const RemovePlan plan = planRemove(listEntries(cboConfigName), cboConfigNameTO->currentText());
    if (plan.refusal) {
        showError(*plan.refusal);
    } else if (plan.position) {
        const QString entry = cboConfigName->itemText(*plan.position);
        ProcessFiles(QStringLiteral("REMOVE"), entry, QString());
        const QList<int> leaving =
            entriesLeavingAfterRemove(folders(), listEntries(cboConfigName), entry);
        for (int position : leaving)
            cboConfigName->removeItem(position);
        if (!leaving.isEmpty())
            cboConfigName->setCurrentIndex(0);
    }
    chkSaveActivation->setChecked(false);
    RefreshLoadCaption();
}

void frmHangar::cmdFS9folder_Click()
{
    const QString folder =
        BrowseFolder(QStringLiteral("Select the FLIGHT SIMULATOR folder"), txtFS9Folder->text());
    if (!folder.isEmpty())
        txtFS9Folder->setText(folder);
}

void frmHangar::cmdSceFolder_Click()
{
    const QString folder = BrowseFolder(
        QStringLiteral("Select the Flight Simulator SCENERY folder"), txtSceFolder->text());
    if (!folder.isEmpty())
        txtSceFolder->setText(folder);
}

QString frmHangar::BrowseFolder(const QString& prompt, const QString& boxText)
{
    // The picker opens on the folder the box names, or as near to it as the disk allows.
    return m_services.dialogs.pickFolder(prompt, nearestExistingFolder(boxText));
}

bool frmHangar::ProcessFiles(const QString& operation, const QString& configName,
                             const QString& newName)
{
    const auto known = operationFromWord(operation);
    if (!known)
        return false;
    const OperationResult result =
        processFiles(*known, configName, newName, txtFS9Folder->text(), txtSceFolder->text(),
                     m_services.fileSystem, &*m_history);
    if (!result.message.isEmpty())
        showError(result.message);
    if (result.performed && *known == Operation::Load) {
        m_loadedThisRun = true;
        LastConfig = configName;
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

ConfigFolders frmHangar::folders() const
{
    return ConfigFolders::fromTexts(txtFS9Folder->text(), txtSceFolder->text());
}

void frmHangar::showError(const QString& message)
{
    m_services.dialogs.showMessage(message, errorTitle());
}
