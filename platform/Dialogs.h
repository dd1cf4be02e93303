#pragma once

#include <QString>

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
};
