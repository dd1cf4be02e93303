#pragma once

#include "History.h"
#include "StoredState.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class AppInfo;
struct ConfigFolders;
class Dialogs;
class FileSystem;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The platform services the window works through; tests pass recording fakes.
struct HangarServices
{
    Dialogs& dialogs;
    AppInfo& appInfo;
    FileSystem& fileSystem;
};

// The program's one window. Its start-up runs at the end of construction, before the first show;
// its shutdown runs once, on whichever way the window is closed.
class frmHangar : public QDialog
{
    Q_OBJECT

public:
    explicit frmHangar(const HangarServices& services, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void wireEvents();

    void Form_Load();
    void Form_Unload();
    void cmdQuit_Click();
    void cboConfigName_Change();
    void cboConfigName_Click();
    void cboConfigName_KeyPress(int& keyAscii);
    void cboConfigNameTO_Change();
    void cboConfigNameTO_Click();
    void cboConfigNameTO_KeyPress(int& keyAscii);
    void chkSaveActivation_Click();
    void cmdLOAD_Click();
    void cmdSAVE_Click();
    void cmdREMOVE_Click();
    void cmdFS9folder_Click();
    void cmdSceFolder_Click();

    bool ProcessFiles(const QString& operation, const QString& configName, const QString& newName);
    QString BrowseFolder(const QString& prompt, const QString& boxText);
    void RefreshLoadCaption();
    void showLastConfig();
    void refreshRemoveEnabled();
    ConfigFolders folders() const;
    // What the unload writes is made of these: an unload that finds them as it last wrote them
    // has nothing to add.
    struct UnloadState
    {
        QString fs9Folder;
        QString sceFolder;
        QStringList loadList;
        std::optional<QString> lastConfig;
        bool operator==(const UnloadState&) const = default;
    };
    UnloadState unloadState() const;
    void showError(const QString& message);

    HangarServices m_services;

    QLabel* lblFond = nullptr;
    QLabel* imgCorvane0 = nullptr;
    QLabel* imgCorvane1 = nullptr;
    QLabel* Label3_0 = nullptr;
    QLabel* Label3_1 = nullptr;
    QLabel* lblVersion = nullptr;
    QGroupBox* Frame2 = nullptr;
    QComboBox* cboConfigName = nullptr;
    QCheckBox* chkSaveActivation = nullptr;
    QPushButton* cmdLOAD = nullptr;
    QPushButton* cmdQuit = nullptr;
    QPushButton* cmdSAVE = nullptr;
    QPushButton* cmdREMOVE = nullptr;
    QComboBox* cboConfigNameTO = nullptr;
    QLabel* lblLastConfigName = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtFS9Folder = nullptr;
    QPushButton* cmdFS9folder = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtSceFolder = nullptr;
    QPushButton* cmdSceFolder = nullptr;

    std::optional<QString> IniPath;
    std::optional<QString> LastConfig;
    // Where the file operation keeps what it replaces or deletes.
    std::optional<History> m_history;

    // What start-up read; shutdown gives the window's state back through it.
    StoredState m_stored;
    std::optional<UnloadState> m_unloaded;
    // A Load was done: a settings write that fails must say the files changed all the same.
    bool m_loadedThisRun = false;
};
