#include "SettingsLock.h"

#include "LinkTarget.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

namespace {

struct Holder
{
    qint64 process = 0;
    QString program;
};

// The holder as its file tells it, in the lines QLockFile writes too: process number, program,
// host. Nothing when the file does not say it whole.
std::optional<Holder> holderOf(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    bool isNumber = false;
    const qint64 process = lines.value(0).toLongLong(&isNumber);
    if (lines.size() < 3 || !isNumber || process <= 0)
        return std::nullopt;
    return Holder{process, QString::fromUtf8(lines.at(1))};
}

QByteArray describeSelf()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
           QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n';
}

// The command line is the only holder worth waiting for.
bool isCommandLine(const QString& holderName)
{
    return QFileInfo(holderName)
               .completeBaseName()
               .compare(QLatin1String("hangarctl"), Qt::CaseInsensitive) == 0;
}

} // namespace

SettingsLock::SettingsLock(const QString& settingsFile)
    : m_file(followLinks(settingsFile) + QStringLiteral(".lock"))
{}

SettingsLock::Outcome SettingsLock::take(std::chrono::milliseconds patience)
{
    if (m_lock)
        return Outcome::Taken;
    KernelLock lock = KernelLock::ofFile(m_file);
    const QDeadlineTimer deadline(patience);
    for (;;) {
        switch (lock.tryLock()) {
        case KernelLock::Attempt::Taken:
            // Who holds it is for others to read; a file that cannot say so still locks.
            lock.write(describeSelf());
            m_lock = std::move(lock);
            return Outcome::Taken;
        case KernelLock::Attempt::Failed:
            return Outcome::Unavailable;
        case KernelLock::Attempt::Busy:
            break;
        }
        // A holder that has not written who it is yet counts as a command, and is waited for.
        constexpr qsizetype enoughForAHolder = 512;
        const auto holder = holderOf(lock.read(enoughForAHolder));
        m_holder = holder ? holder->process : 0;
        if (holder && !isCommandLine(holder->program))
            return Outcome::HeldByWindow;
        if (deadline.hasExpired())
            return Outcome::HeldByCommand;
        QThread::msleep(20);
    }
}
