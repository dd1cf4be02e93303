#pragma once

#include "AppInfo.h"
#include "DiskFileSystem.h"
#include "HangarTemporaries.h"
#include "ProcessTable.h"

#include <QFile>
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
        Sync,  // folders and files
        Entry, // a whole write
        Link
    };

    // Makes the count-th call (from 1) of the step fail; 0 fails none.
    void failAt(Step step, int count)
    {
        m_step = step;
        m_failAt = count;
    }
    // Stops dead at the count-th call of the step: that call and every later one change nothing
    // (a record being written is left torn, a whole write leaves its torn temporary) and fail.
    void stopAt(Step step, int count)
    {
        failAt(step, count);
        m_stops = true;
    }

    std::optional<QString> stageCopy(const QString& source, const QString& destination,
                                     QString* error) override
    {
        return refused(Step::Stage, error) ? std::nullopt
                                           : DiskFileSystem::stageCopy(source, destination, error);
    }
    bool writeRecord(const QString& path, const QByteArray& bytes, QString* error) override
    {
        return !refused(Step::Record, error, path, bytes) &&
               DiskFileSystem::writeRecord(path, bytes, error);
    }
    bool writeWhole(const QString& path, const QByteArray& bytes, const QString& equivalent,
                    QString* error) override
    {
        return !refused(Step::Entry, error,
                        HangarTemporaries::nameBeside(path, QStringLiteral("new")), bytes) &&
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

    static QString reason() { return QStringLiteral("injected failure"); }

    // The chosen call was reached.
    bool fired = false;
    // Called before every step; a step it refuses fails.
    bool (*beforeStep)(Step) = nullptr;

private:
    // A stop at this very call tears the file at tornPath, when given, to half its bytes.
    bool refused(Step step, QString* error, const QString& tornPath = {},
                 const QByteArray& bytes = {})
    {
        const int calls = ++m_calls[static_cast<int>(step)];
        if (beforeStep != nullptr && !beforeStep(step)) {
            m_stopped = true;
        } else if (m_step == step && calls == m_failAt) {
            fired = true;
            m_stopped = m_stops;
            QFile torn(tornPath);
            if (m_stops && !tornPath.isEmpty() && torn.open(QIODevice::WriteOnly))
                torn.write(bytes.first(bytes.size() / 2));
        } else if (!m_stopped) {
            return false;
        }
        *error = reason();
        return true;
    }

    std::optional<Step> m_step;
    int m_failAt = 0;
    bool m_stops = false;
    bool m_stopped = false;
    int m_calls[7] = {};
};
