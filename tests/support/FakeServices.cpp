#include "FakeServices.h"

#include "HangarTemporaries.h"

#include <QFile>

void FakeDialogs::showMessage(const QString& prompt, const QString& title)
{
    messages.append({prompt, title});
}

QString FakeDialogs::pickFolder(const QString& prompt, const QString& startFolder)
{
    pickerPrompts.append(prompt);
    pickerStarts.append(startFolder);
    return pickerAnswers.isEmpty() ? QString() : pickerAnswers.takeFirst();
}

void FaultyFileSystem::failAt(Step step, int count)
{
    m_step = step;
    m_failAt = count;
}

void FaultyFileSystem::stopAt(Step step, int count)
{
    failAt(step, count);
    m_stops = true;
}

bool FaultyFileSystem::refused(Step step, QString* error, const QString& tornPath,
                               const QByteArray& bytes)
{
    const int calls = ++m_calls[static_cast<int>(step)];
    if (m_step == step && calls == m_failAt) {
        fired = true;
        m_stopped = m_stops;
        if (m_stops && !tornPath.isEmpty()) {
            QFile torn(tornPath);
            if (torn.open(QIODevice::WriteOnly))
                torn.write(bytes.first(bytes.size() / 2));
        }
    } else if (!m_stopped) {
        return false;
    }
    *error = reason();
    return true;
}

std::optional<QString> FaultyFileSystem::stageCopy(const QString& source,
                                                   const QString& destination, QString* error)
{
    if (refused(Step::Stage, error))
        return std::nullopt;
    return DiskFileSystem::stageCopy(source, destination, error);
}

bool FaultyFileSystem::writeRecord(const QString& path, const QByteArray& bytes, QString* error)
{
    return !refused(Step::Record, error, path, bytes) &&
           DiskFileSystem::writeRecord(path, bytes, error);
}

bool FaultyFileSystem::writeWhole(const QString& path, const QByteArray& bytes,
                                  const QString& equivalent, QString* error)
{
    return !refused(Step::Entry, error, HangarTemporaries::nameBeside(path, QStringLiteral("new")),
                    bytes) &&
           DiskFileSystem::writeWhole(path, bytes, equivalent, error);
}

bool FaultyFileSystem::rename(const QString& from, const QString& to, QString* error)
{
    return !refused(Step::Rename, error) && DiskFileSystem::rename(from, to, error);
}

bool FaultyFileSystem::removeFile(const QString& path, QString* error)
{
    return !refused(Step::Remove, error) && DiskFileSystem::removeFile(path, error);
}

bool FaultyFileSystem::syncFolder(const QString& folder, QString* error)
{
    return !refused(Step::Sync, error) && DiskFileSystem::syncFolder(folder, error);
}

bool FaultyFileSystem::syncFile(const QString& path, QString* error)
{
    return !refused(Step::Sync, error) && DiskFileSystem::syncFile(path, error);
}
