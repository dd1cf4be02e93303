#include "FakeServices.h"

#include <functional>

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

namespace {

// A staged copy whose commit may be made to fail; a failed one is thrown away, as an uncommitted
// copy is.
class FaultableCommit : public StagedCopy
{
public:
    FaultableCommit(std::unique_ptr<StagedCopy> real, std::function<bool()> fails)
        : m_real(std::move(real)), m_fails(std::move(fails))
    {}
    bool commit(QString* error) override
    {
        if (!m_fails())
            return m_real->commit(error);
        m_real.reset();
        *error = FaultyFileSystem::reason();
        return false;
    }

private:
    std::unique_ptr<StagedCopy> m_real;
    std::function<bool()> m_fails;
};

} // namespace

void FaultyFileSystem::failAt(Step step, int count)
{
    m_step = step;
    m_failAt = count;
}

bool FaultyFileSystem::shouldFail(Step step)
{
    const int calls = ++m_calls[static_cast<int>(step)];
    return m_step == step && calls == m_failAt;
}

std::unique_ptr<StagedCopy> FaultyFileSystem::stageCopy(const QString& source,
                                                        const QString& destination, QString* error)
{
    if (shouldFail(Step::Stage)) {
        *error = reason();
        return nullptr;
    }
    auto real = DiskFileSystem::stageCopy(source, destination, error);
    if (!real)
        return nullptr;
    return std::make_unique<FaultableCommit>(std::move(real),
                                             [this] { return shouldFail(Step::Commit); });
}

bool FaultyFileSystem::removeFile(const QString& path, QString* error)
{
    if (shouldFail(Step::Remove)) {
        *error = reason();
        return false;
    }
    return DiskFileSystem::removeFile(path, error);
}
