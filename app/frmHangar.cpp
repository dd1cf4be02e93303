#include "frmHangar.h"

#include "AppInfo.h"
#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "Dialogs.h"
#include "DirectoryLookup.h"
#include "FileOperation.h"
#include "IniAccess.h"
#include "PairSwitch.h"
#include "SettingsKeys.h"
#include "SettingsLocation.h"
#include "SlotMerge.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int maxListEntries = 10;
constexpr qsizetype typingLimit = 15;

QString errorTitle()
{
    return QStringLiteral("Error");
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
    cboConfigName->addItem(originalConfigName());

    IniPath = settingsFile;
    // Temporaries of a settings write that a crash interrupted.
    recoverFolders({QFileInfo(*IniPath).path()}, m_services.fileSystem);
    if (FileExists(*IniPath)) {
        readStoredFolder(txtFS9Folder, SettingsKeys::fs9Folder(), m_storedFs9Folder);
        readStoredFolder(txtSceFolder, SettingsKeys::sceneryFolder(), m_storedSceFolder);
        if (!m_storedFs9Folder && !m_storedSceFolder)
            readSavedNames();
        else
            keepSavedNames();
    }

    cboConfigName->setEditText(cboConfigName->itemText(0));
    showLastConfig();
}

void frmHangar::readStoredFolder(QLineEdit* box, const QString& key,
                                 std::optional<QString>& keptValue)
{
    box->setText(ReadIni(key));
    QString path = box->text();
    if (!FolderExists(path)) {
        keptValue = box->text();
        box->setText(QString());
    }
}

void frmHangar::readSavedNames()
{
    m_namesRead = true;
    const auto folders = ConfigFolders::fromTexts(txtFS9Folder->text(), txtSceFolder->text());
    // A switch that a crash interrupted is completed before the names are looked up, so that the
    // list shows what is on disk; a failure is told at the next operation, which tries again.
    recoverFolders({folders.fs9, folders.scenery}, m_services.fileSystem);
    for (int n = 1; n <= SettingsKeys::slotCount; ++n) {
        const QString name = ReadIni(SettingsKeys::slot(n)).trimmed();
        // A hand-edited name that cannot name snapshot files is skipped like one whose files
        // are missing: no path is built from it.
        if (name.isEmpty() || whyNameUnusable(name))
            continue;
        const bool mainPresent = FileExists(folders.snapshotMain(name));
        const bool sceneryPresent = FileExists(folders.snapshotScenery(name));
        if (mainPresent && sceneryPresent)
            cboConfigName->addItem(name);
    }
    LastConfig = ReadIni(SettingsKeys::lastConfig()).trimmed();
}

void frmHangar::keepSavedNames()
{
    for (int n = 1; n <= SettingsKeys::slotCount; ++n)
        m_keptSlots << ReadIni(SettingsKeys::slot(n)).trimmed();
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

    // A box emptied at start-up because its folder was missing keeps the stored folder, so that
    // the user's setting outlives a drive that was not mounted.
    const QString fs9Folder = txtFS9Folder->text().isEmpty() && m_storedFs9Folder
                                  ? *m_storedFs9Folder
                                  : txtFS9Folder->text();
    const QString sceFolder = txtSceFolder->text().isEmpty() && m_storedSceFolder
                                  ? *m_storedSceFolder
                                  : txtSceFolder->text();

    QStringList values{fs9Folder, sceFolder};
    QStringList keys{SettingsKeys::fs9Folder(), SettingsKeys::sceneryFolder()};
    const QStringList slotValues = slotsToWrite();
    for (int n = 1; n <= SettingsKeys::slotCount; ++n) {
        keys << SettingsKeys::slot(n);
        values << slotValues.at(n - 1);
    }
    if (LastConfig) {
        keys << SettingsKeys::lastConfig();
        values << *LastConfig;
    }

    ProfileFile::Edit settings;
    QString error;
    bool written = settings.open(*IniPath, &error);
    if (written) {
        for (qsizetype i = 0; i < keys.size(); ++i)
            WriteIni(settings, SettingsKeys::section(), keys.at(i), values.at(i));
        written = settings.commit(&error);
    }
    if (!written) {
        showError(QStringLiteral("The settings could not be saved to %1:%2%3")
                      .arg(*IniPath, QChar(13), error));
    }
}

frmHangar::UnloadState frmHangar::unloadState() const
{
    QStringList loadList;
    for (int position = 0; position < cboConfigName->count(); ++position)
        loadList << cboConfigName->itemText(position);
    return {txtFS9Folder->text(), txtSceFolder->text(), loadList, LastConfig};
}

QStringList frmHangar::slotsToWrite() const
{
    QStringList listed;
    for (int position = 1; position < cboConfigName->count(); ++position)
        listed << cboConfigName->itemText(position);
    if (!m_namesRead)
        return mergedSlots(m_keptSlots, listed);
    QStringList slotValues;
    for (int n = 1; n <= SettingsKeys::slotCount; ++n)
        slotValues << (n < cboConfigName->count() ? cboConfigName->itemText(n) : QString());
    return slotValues;
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
    if (const auto refusal = nameRefusal(name)) {
        showError(*refusal);
    } else {
        bool existing = false;
        for (int position = 0; position < maxListEntries && !existing; ++position)
            existing = cboConfigNameTO->itemText(position) == name;
        if (existing) {
            ProcessFiles(QStringLiteral("SAVE"), cboConfigName->currentText(), name);
        } else if (cboConfigNameTO->count() >= maxListEntries) {
            showError(QStringLiteral("Sorry, you cannot create more of 9 configurations."));
        } else if (ProcessFiles(QStringLiteral("SAVE"), cboConfigName->currentText(), name)) {
            // Only a name whose two snapshot files were written joins the list.
            cboConfigName->addItem(name);
            cboConfigName->setCurrentIndex(cboConfigName->count() - 1);
        }
    }
    chkSaveActivation->setChecked(false);
    RefreshLoadCaption();
}

void frmHangar::cmdREMOVE_Click()
{
    const QString name = cboConfigNameTO->currentText();
    if (name == originalConfigName()) {
        showError(QStringLiteral("Sorry, you cannot remove the original configuration."));
    } else {
        const int count = cboConfigName->count();
        for (int position = 0; position < count; ++position) {
            const QString entry = cboConfigName->itemText(position);
            if (entry != name)
                continue;
            ProcessFiles(QStringLiteral("REMOVE"), entry, QString());
            dropEntriesWithoutFiles(entry);
            break;
        }
    }
    chkSaveActivation->setChecked(false);
    RefreshLoadCaption();
}

void frmHangar::dropEntriesWithoutFiles(const QString& name)
{
    // An entry goes exactly when its pair is no longer whole on disk, whatever the operation
    // managed; a refusal for a folder or a live file keeps it. Every entry that names the same
    // files goes with it: the name listed again, or in another letter case that the folders
    // resolve to the same pair.
    const auto folders = ConfigFolders::fromTexts(txtFS9Folder->text(), txtSceFolder->text());
    bool dropped = false;
    for (int position = cboConfigName->count() - 1; position >= 1; --position) {
        const QString entry = cboConfigName->itemText(position);
        if (entry.compare(name, Qt::CaseInsensitive) != 0 || whyNameUnusable(entry) ||
            !folders.snapshotPairBroken(entry))
            continue;
        cboConfigName->removeItem(position);
        dropped = true;
    }
    if (dropped)
        cboConfigName->setCurrentIndex(0);
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

QString frmHangar::ReadIni(const QString& key) const
{
    return ::ReadIni(*IniPath, SettingsKeys::section(), key);
}

void frmHangar::showError(const QString& message)
{
    m_services.dialogs.showMessage(message, errorTitle());
}
