#include "ProcessTable.h"

#include <QByteArray>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Read with plain system calls: a desktop runs hundreds of processes, and this runs before
// every change that must not happen while the simulator runs.
QByteArray readSmallFile(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray bytes(4096, Qt::Uninitialized);
    const ssize_t got = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    bytes.truncate(got > 0 ? qsizetype(got) : 0);
    return bytes;
}

// /proc/<pid>/comm is the short name (at most 15 bytes); /proc/<pid>/cmdline the arguments,
// each ended by a NUL. Wine rewrites the arguments of the programs it runs to their Windows
// command line, so the first one is the Windows path of the program.
class ProcProcessTable : public ProcessTable
{
public:
    std::optional<QList<ProcessEntry>> processes() const override
    {
        DIR* proc = ::opendir("/proc");
        if (proc == nullptr)
            return std::nullopt;
        QList<ProcessEntry> entries;
        while (const dirent* entry = ::readdir(proc)) {
            bool isPid = false;
            const qint64 pid = QByteArray(entry->d_name).toLongLong(&isPid);
            if (!isPid)
                continue;
            const QByteArray folder = "/proc/" + QByteArray(entry->d_name);
            // A process that ended since the listing reads as empty and is passed over.
            const QByteArray comm = readSmallFile(folder + "/comm");
            const QByteArray cmdline = readSmallFile(folder + "/cmdline");
            if (comm.isEmpty() && cmdline.isEmpty())
                continue;
            entries.append({pid, QString::fromLocal8Bit(comm.trimmed()),
                            QString::fromLocal8Bit(cmdline.left(cmdline.indexOf('\0')))});
        }
        ::closedir(proc);
        if (entries.isEmpty()) // no /proc at all: not even this process is listed
            return std::nullopt;
        return entries;
    }
};

} // namespace

std::unique_ptr<ProcessTable> systemProcessTable()
{
    return std::make_unique<ProcProcessTable>();
}
