#pragma once

#include "Dialogs.h"
#include "History.h"
#include "StoredState.h"

#include <QDialog>
#include <QHash>
#include <QKeySequence>
#include <QStringList>
#include <optional>

class AppInfo;
struct ConfigFolders;
class FileSystem;
class ProcessTable;
struct RestoreResult;
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
    // Where the window sees whether the simulator runs.
    const ProcessTable& processes;
};

// The program's one window. Its start-up runs at the end of construction, before the first show;
// its shutdown runs once, on whichever way the window is closed.
class frmHangar : public QDialog, private HistoryActions
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
    void Form_Undo();
    void Form_History();

    // The history dialog's questions and its Restore.
    QList<HistoryRow> historyRows() override;
    QString historyDifferences(int id) override;
    void restoreHistoryEntry(int id) override;
    // Puts a kept pair back, the entry given or else the newest, as hangarctl restore and undo
    // do; the list and the label follow. The message says what came back and how to return.
    void restoreKept(std::optional<int> id);
    // The state a restore works on: the settings as read at start-up, with the window's folders
    // and list.
    StoredState currentState() const;
    // The load list after a change of the names; the chosen entry stays when it is still listed.
    void followList(const QStringList& names);
    // Remembers, for the entry that now keeps the live pair just replaced, the name the label
    // showed with that pair.
    void rememberLastConfig(const std::optional<QString>& shownBefore);
    // The refusal shown while the simulator runs: true when the change must not go ahead.
    bool refusedWhileSimulatorRuns();
    static QKeySequence historyKeys();

    bool ProcessFiles(const QString& operation, const QString& configName, const QString& newName);
    QString BrowseFolder(const QString& prompt, const QString& boxText, bool fs9Folder);
    void RefreshLoadCaption();
    void showLastConfig();
    void refreshRemoveEnabled();
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
    // For each entry that keeps a live pair replaced in this run, the name the label showed with
    // it; a restore of the entry shows that name again.
    QHash<int, std::optional<QString>> m_lastConfigKeptWith;

    // What start-up read; shutdown gives the window's state back through it.
    StoredState m_stored;
    std::optional<UnloadState> m_unloaded;
    // A Load was done: a settings write that fails must say the files changed all the same.
    bool m_loadedThisRun = false;
};
