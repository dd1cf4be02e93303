#pragma once

#include "AppInfo.h"
#include "DiskFileSystem.h"
#include "ProcessTable.h"

#include <optional>

class FakeAppInfo : public AppInfo
{
public:
    explicit FakeAppInfo(QString folder) : folder(std::move(folder)) {}

    QString executableFolder() const override { return folder; }
    AppVersion version() const override { return {1, 2, 1}; }
    bool maySettingsLiveBesideExecutable() const override { return folderWritable; }
    QString userConfigFolder() const override { return configFolder; }
    QString userDataFolder() const override { return dataFolder; }
    bool takeInstanceLock(const QString&) override { return !otherInstance; }

    QString folder;
    bool folderWritable = true;
    QString configFolder;
    QString dataFolder;
    bool otherInstance = false;
};

// The processes a test says run; none by default.
class FakeProcessTable : public ProcessTable
{
public:
    std::optional<QList<ProcessEntry>> processes() const override { return running; }

    QList<ProcessEntry> running;
};

// The real file system, but from the chosen call of a step on, as a program killed at that moment,
// nothing is done and every call fails.
class FaultyFileSystem : public DiskFileSystem
{
public:
    enum class Step
    {
        Stage,
        Record,
        Rename,
        Remove,
        Sync,  // folders and files
        Entry, // a whole write
        Link
    };

    // Stops dead at the count-th call (from 1) of the step: that call and every later one change
    // nothing and fail.
    void stopAt(Step step, int count)
    {
        m_step = step;
        m_stopAt = count;
    }

    std::optional<QString> stageCopy(const QString& source, const QString& destination,
                                     QString* error) override
    {
        return refused(Step::Stage, error) ? std::nullopt
                                           : DiskFileSystem::stageCopy(source, destination, error);
    }
    bool writeRecord(const QString& path, const QByteArray& bytes, QString* error) override
    {
        return !refused(Step::Record, error) && DiskFileSystem::writeRecord(path, bytes, error);
    }
    bool writeWhole(const QString& path, const QByteArray& bytes, const QString& equivalent,
                    QString* error) override
    {
        return !refused(Step::Entry, error) &&
               DiskFileSystem::writeWhole(path, bytes, equivalent, error);
    }
    bool link(const QString& existing, const QString& newName, QString* error) override
    {
        return !refused(Step::Link, error) && DiskFileSystem::link(existing, newName, error);
    }
    bool rename(const QString& from, const QString& to, QString* error) override
    {
        return !refused(Step::Rename, error) && DiskFileSystem::rename(from, to, error);
    }
    bool removeFile(const QString& path, QString* error) override
    {
        return !refused(Step::Remove, error) && DiskFileSystem::removeFile(path, error);
    }
    bool syncFolder(const QString& folder, QString* error) override
    {
        return !refused(Step::Sync, error) && DiskFileSystem::syncFolder(folder, error);
    }
    bool syncFile(const QString& path, QString* error) override
    {
        return !refused(Step::Sync, error) && DiskFileSystem::syncFile(path, error);
    }

    // Called before every step; a step it refuses fails.
    bool (*beforeStep)(Step) = nullptr;

private:
    bool refused(Step step, QString* error)
    {
        const int calls = ++m_calls[static_cast<int>(step)];
        if ((beforeStep != nullptr && !beforeStep(step)) || (m_step == step && calls == m_stopAt))
            m_stopped = true;
        if (!m_stopped)
            return false;
        *error = QStringLiteral("injected failure");
        return true;
    }

    std::optional<Step> m_step;
    int m_stopAt = 0;
    bool m_stopped = false;
    int m_calls[7] = {};
};
