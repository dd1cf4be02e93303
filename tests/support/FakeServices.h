#pragma once

#include "AppInfo.h"
#include "Dialogs.h"
#include "DiskFileSystem.h"

#include <QStringList>
#include <optional>

// Records every message instead of showing it and answers the folder picker from a script.
class FakeDialogs : public Dialogs
{
public:
    struct Message
    {
        QString prompt;
        QString title;
    };

    void showMessage(const QString& prompt, const QString& title) override;
    QString pickFolder(const QString& prompt, const QString& startFolder) override;

    QList<Message> messages;
    QStringList pickerPrompts;
    QStringList pickerStarts;
    QStringList pickerAnswers; // taken in order; an empty text is a cancelled picker
};

class FakeAppInfo : public AppInfo
{
public:
    explicit FakeAppInfo(QString folder) : folder(std::move(folder)) {}

    QString executableFolder() const override { return folder; }
    AppVersion version() const override { return {1, 2, 1}; }
    bool executableFolderWritable() const override { return folderWritable; }
    QString userConfigFolder() const override { return configFolder; }
    bool anotherInstanceRunning(const QString& settingsFile) override
    {
        instanceCheckedFor = settingsFile;
        return otherInstance;
    }

    QString folder;
    bool folderWritable = true;
    QString configFolder;
    QString instanceCheckedFor;
    bool otherInstance = false;
};

// The real file system, but the chosen call of a kind fails with a made-up reason.
class FaultyFileSystem : public DiskFileSystem
{
public:
    enum class Step
    {
        Stage,
        Commit,
        Remove
    };

    // Makes the count-th call (from 1) of the step fail; 0 fails none.
    void failAt(Step step, int count);

    std::unique_ptr<StagedCopy> stageCopy(const QString& source, const QString& destination,
                                          QString* error) override;
    bool removeFile(const QString& path, QString* error) override;

    static QString reason() { return QStringLiteral("injected failure"); }

private:
    bool shouldFail(Step step);

    std::optional<Step> m_step;
    int m_failAt = 0;
    int m_calls[3] = {0, 0, 0};
};
