#pragma once

#include <QList>
#include <QString>

// One kept pair as the history dialog lists it.
struct HistoryRow
{
    int id = 0;
    QString when;
    QString pair;       // what the pair was
    QString replacedBy; // the operation that replaced or deleted it
};

// What the history dialog shows and does; the window answers for its history.
class HistoryActions
{
public:
    virtual ~HistoryActions() = default;
    // The kept pairs, newest first.
    virtual QList<HistoryRow> historyRows() = 0;
    // How the entry's pair differs from the live pair, as lines of text.
    virtual QString historyDifferences(int id) = 0;
    // Puts the entry back and tells the user how it went; the rows change.
    virtual void restoreHistoryEntry(int id) = 0;
};

// The modal dialogs the window needs; a test replaces them with a recording fake.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A modal message box with the prompt, the title, one OK button and no icon. Character 13 in
    // the prompt breaks the line and character 9 is a tab.
    virtual void showMessage(const QString& prompt, const QString& title) = 0;
    // A modal folder picker with the prompt as its title, opening in the start folder: the chosen
    // folder's full path in native form, or the empty text when nothing was chosen.
    virtual QString pickFolder(const QString& prompt, const QString& startFolder) = 0;
    // The modal "History" dialog beside the window: the kept pairs, what each differs in from the
    // live pair, and a button that puts one back. Returns when the user closes it.
    virtual void showHistory(HistoryActions& actions) = 0;
};
