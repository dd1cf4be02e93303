#include "frmHangar.h"

#include "AppInfo.h"
#include "ConfigList.h"
#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "Dialogs.h"
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

void frmHangar::reject()
{
    // Escape is the Quit button's key, and must close through the same unload as every close.
    cmdQuit->click();
}

void frmHangar::Form_Load()
{
    // Where the settings live is only looked up here; IniPath takes it once start-up goes on.
    const QString settingsFile = settingsFilePath(m_services.appInfo);
    if (m_services.appInfo.anotherInstanceRunning(settingsFile))
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
    m_stored = StoredState::recoverAndRead(*IniPath, m_services.fileSystem);
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
    // A window whose start-up stopped early has no settings file to write to.
    if (m_unloaded || !IniPath)
        return;
    m_unloaded = true;

    m_stored.fs9Folder = txtFS9Folder->text();
    m_stored.sceneryFolder = txtSceFolder->text();
    m_stored.names = listEntries(cboConfigName).mid(1);
    m_stored.lastConfig = LastConfig;
    QString message;
    if (!m_stored.write(*IniPath, &message))
        showError(message);
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
        cboConfigName->setEditText(name);
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
        if (leavesListAfterRemove(folders(), entry)) {
            cboConfigName->removeItem(*plan.position);
            cboConfigName->setEditText(cboConfigName->itemText(0));
        }
    }
    chkSaveActivation->setChecked(false);
    RefreshLoadCaption();
}

void frmHangar::cmdFS9folder_Click()
{
    const QString folder = BrowseFolder(QStringLiteral("Select the FLIGHT SIMULATOR folder"));
    if (!folder.isEmpty())
        txtFS9Folder->setText(folder);
}

void frmHangar::cmdSceFolder_Click()
{
    const QString folder =
        BrowseFolder(QStringLiteral("Select the Flight Simulator SCENERY folder"));
    if (!folder.isEmpty())
        txtSceFolder->setText(folder);
}

QString frmHangar::BrowseFolder(const QString& prompt)
{
    return m_services.dialogs.pickFolder(prompt);
}

bool frmHangar::ProcessFiles(const QString& operation, const QString& configName,
                             const QString& newName)
{
    const auto known = operationFromWord(operation);
    if (!known)
        return false;
    const OperationResult result = processFiles(*known, configName, newName, txtFS9Folder->text(),
                                                txtSceFolder->text(), m_services.fileSystem);
    if (!result.message.isEmpty())
        showError(result.message);
    if (result.performed && *known == Operation::Load) {
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
