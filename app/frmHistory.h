#pragma once

#include <QDialog>

class HistoryActions;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTreeView;

// The "History" dialog: the pairs the history keeps, newest first, how the chosen one differs
// from the live pair, and Restore. It opens beside its parent window, not over it, so that
// the window's list and label stay in sight while a pair is put back.
class frmHistory : public QDialog
{
    Q_OBJECT

public:
    frmHistory(HistoryActions& actions, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void lvwHistory_CurrentChanged();
    void cmdRestore_Click();
    int currentId() const;

    HistoryActions& m_actions;
    QStandardItemModel* m_model = nullptr;
    QTreeView* lvwHistory = nullptr;
    QPlainTextEdit* txtDifferences = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdClose = nullptr;
};
