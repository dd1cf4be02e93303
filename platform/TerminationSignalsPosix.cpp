#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> caughtSignals{SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe that wakes the event loop; the handler may touch nothing else.
volatile sig_atomic_t wakeFd = -1;

extern "C" void onTerminationSignal(int number)
{
    const int savedErrno = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(wakeFd, &byte, 1);
    errno = savedErrno;
}

} // namespace

struct TerminationSignals::Watch
{
    int pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    std::array<struct sigaction, caughtSignals.size()> previous{};
    std::array<bool, caughtSignals.size()> installed{};
};

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent), m_watch(std::make_unique<Watch>())
{
    Watch& watch = *m_watch;
    if (::pipe(watch.pipe) != 0) {
        qWarning("Hangar: signals keep their default action, no pipe: %s", std::strerror(errno));
        return;
    }
    for (const int fd : watch.pipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    wakeFd = watch.pipe[1];
    watch.notifier = std::make_unique<QSocketNotifier>(watch.pipe[0], QSocketNotifier::Read);
    connect(watch.notifier.get(), &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(m_watch->pipe[0], drained, sizeof drained) > 0) {
        }
        emit received();
    });

    for (std::size_t i = 0; i < caughtSignals.size(); ++i) {
        struct sigaction current = {};
        if (::sigaction(caughtSignals[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        watch.installed[i] = ::sigaction(caughtSignals[i], &action, &watch.previous[i]) == 0;
    }
}

TerminationSignals::~TerminationSignals()
{
    Watch& watch = *m_watch;
    for (std::size_t i = 0; i < caughtSignals.size(); ++i) {
        if (watch.installed[i])
            ::sigaction(caughtSignals[i], &watch.previous[i], nullptr);
    }
    watch.notifier.reset();
    wakeFd = -1;
    for (const int fd : watch.pipe) {
        if (fd >= 0)
            ::close(fd);
    }
}
