#include "ChildProcess.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::array<int, 3> forwardedSignals{SIGINT, SIGTERM, SIGHUP};

// The child that the signals go on to: 0 while there is none, and from before it is reaped, so
// that a signal never reaches another process given its number.
volatile sig_atomic_t childPid = 0;

extern "C" void forwardSignal(int number)
{
    const int savedErrno = errno;
    if (childPid > 0)
        ::kill(pid_t(childPid), number);
    errno = savedErrno;
}

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Catches the forwarded signals from construction to destruction, except those this program was
// started with ignored (nohup): the child inherits them ignored. They stay blocked until
// release(), so that none arrives before there is a child to pass it to. SIGCHLD takes its
// default meanwhile, so that a child is there to be waited for even when this program was
// started with it ignored.
class Forwarding
{
public:
    Forwarding()
    {
        sigemptyset(&m_caught);
        sigset_t all;
        sigemptyset(&all);
        for (const int number : forwardedSignals)
            sigaddset(&all, number);
        m_blockError = ::pthread_sigmask(SIG_BLOCK, &all, &m_mask);
        m_blocked = m_blockError == 0;
        for (std::size_t i = 0; i < forwardedSignals.size(); ++i) {
            struct sigaction current = {};
            if (::sigaction(forwardedSignals[i], nullptr, &current) != 0 ||
                current.sa_handler == SIG_IGN)
                continue;
            struct sigaction action = {};
            action.sa_handler = forwardSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            m_installed[i] = ::sigaction(forwardedSignals[i], &action, &m_previous[i]) == 0;
            if (m_installed[i])
                sigaddset(&m_caught, forwardedSignals[i]);
        }
        // A parent that ignored SIGCHLD would have the child reaped before it can be waited for.
        struct sigaction reaping = {};
        reaping.sa_handler = SIG_DFL;
        sigemptyset(&reaping.sa_mask);
        m_reapingReset = ::sigaction(SIGCHLD, &reaping, &m_reaping) == 0;
    }

    ~Forwarding()
    {
        // A signal that comes after the child ended acts as it would have without one.
        childPid = 0;
        for (std::size_t i = 0; i < forwardedSignals.size(); ++i) {
            if (m_installed[i])
                ::sigaction(forwardedSignals[i], &m_previous[i], nullptr);
        }
        if (m_reapingReset)
            ::sigaction(SIGCHLD, &m_reaping, nullptr);
        release();
    }

    // Why the signals could not be blocked; 0 when they are.
    int blockError() const { return m_blockError; }
    // The mask this program had, which the child starts with.
    const sigset_t& mask() const { return m_mask; }
    // The signals caught here, which the child starts with at their default action.
    const sigset_t& caught() const { return m_caught; }

    void release()
    {
        if (m_blocked)
            ::pthread_sigmask(SIG_SETMASK, &m_mask, nullptr);
        m_blocked = false;
    }

private:
    sigset_t m_mask;
    sigset_t m_caught;
    bool m_blocked = false;
    int m_blockError = 0;
    std::array<struct sigaction, forwardedSignals.size()> m_previous{};
    std::array<bool, forwardedSignals.size()> m_installed{};
    struct sigaction m_reaping = {};
    bool m_reapingReset = false;
};

// Waits for the child to end without reaping it, then stops passing signals on, then reaps it.
ChildExit waitFor(pid_t pid)
{
    siginfo_t info = {};
    while (::waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT) != 0) {
        if (errno != EINTR)
            return {ChildExit::NotStarted, reason(errno)};
    }
    childPid = 0;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (info.si_code == CLD_EXITED)
        return {info.si_status, {}};
    return {ChildExit::SignalBase + info.si_status, {}};
}

} // namespace

ChildExit runChildProcess(const QStringList& command)
{
    QList<QByteArray> words;
    for (const QString& word : command)
        words << QFile::encodeName(word);
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    Forwarding forwarding;
    if (forwarding.blockError() != 0)
        return {ChildExit::NotStarted, reason(forwarding.blockError())};
    posix_spawnattr_t attributes;
    if (const int error = ::posix_spawnattr_init(&attributes); error != 0)
        return {ChildExit::NotStarted, reason(error)};
    ::posix_spawnattr_setsigmask(&attributes, &forwarding.mask());
    ::posix_spawnattr_setsigdefault(&attributes, &forwarding.caught());
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    // As env and the shells do: a program that is not there is 127, any other refusal 126.
    // Unlike them, posix_spawnp runs no script without a "#!" line through /bin/sh.
    const int error = argv.front() != nullptr ? ::posix_spawnp(&pid, argv.front(), nullptr,
                                                               &attributes, argv.data(), environ)
                                              : ENOENT;
    ::posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return {error == ENOENT ? ChildExit::NotFound : ChildExit::CannotRun, reason(error)};
    childPid = pid;
    forwarding.release();
    return waitFor(pid);
}
