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
    bool maySettingsLiveBesideExecutable() const override { return folderWritable; }
    QString userConfigFolder() const override { return configFolder; }
    QString userDataFolder() const override { return dataFolder; }
    bool takeInstanceLock(const QString& settingsFile) override
    {
        instanceCheckedFor = settingsFile;
        return !otherInstance;
    }

    QString folder;
    bool folderWritable = true;
    QString configFolder;
    QString dataFolder;
    QString instanceCheckedFor;
    bool otherInstance = false;
};

// The real file system, but the chosen call of a step fails with a made-up reason; or, as a
// program killed at that moment, does nothing from that call on.
class FaultyFileSystem : public DiskFileSystem
{
public:
    enum class Step
    {
        Stage,
        Record,
        Rename,
        Remove,
        Sync, // folders and files
        Entry // a whole write
    };

    // Makes the count-th call (from 1) of the step fail; 0 fails none.
    void failAt(Step step, int count);
    // Stops dead at the count-th call of the step: that call and every later one change nothing
    // (a record being written is left torn, a whole write leaves its torn temporary) and fail.
    void stopAt(Step step, int count);

    std::optional<QString> stageCopy(const QString& source, const QString& destination,
                                     QString* error) override;
    bool writeRecord(const QString& path, const QByteArray& bytes, QString* error) override;
    bool writeWhole(const QString& path, const QByteArray& bytes, const QString& equivalent,
                    QString* error) override;
    bool rename(const QString& from, const QString& to, QString* error) override;
    bool removeFile(const QString& path, QString* error) override;
    bool syncFolder(const QString& folder, QString* error) override;
    bool syncFile(const QString& path, QString* error) override;

    static QString reason() { return QStringLiteral("injected failure"); }

    // The chosen call was reached.
    bool fired = false;

private:
    // A stop at this very call tears the file at tornPath, when given, to half its bytes.
    bool refused(Step step, QString* error, const QString& tornPath = {},
                 const QByteArray& bytes = {});

    std::optional<Step> m_step;
    int m_failAt = 0;
    bool m_stops = false;
    bool m_stopped = false;
    int m_calls[6] = {0, 0, 0, 0, 0, 0};
};
