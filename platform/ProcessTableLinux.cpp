#include "ProcessTable.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

// /proc/<pid>/comm is the short name (at most 15 bytes); /proc/<pid>/cmdline the arguments,
// each ended by a NUL. Wine rewrites the arguments of the programs it runs to their Windows
// command line, so the first one is the Windows path of the program.
class ProcProcessTable : public ProcessTable
{
public:
    std::optional<QList<ProcessEntry>> processes() const override
    {
        const QDir proc(QStringLiteral("/proc"));
        QList<ProcessEntry> entries;
        for (const QString& name : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool isPid = false;
            const qint64 pid = name.toLongLong(&isPid);
            if (!isPid)
                continue;
            // A process that ended since the listing reads as empty and is passed over.
            const QByteArray comm = readSmallFile(proc.filePath(name + QStringLiteral("/comm")));
            const QByteArray cmdline =
                readSmallFile(proc.filePath(name + QStringLiteral("/cmdline")));
            if (comm.isEmpty() && cmdline.isEmpty())
                continue;
            entries.append({pid, QString::fromLocal8Bit(comm.trimmed()),
                            QString::fromLocal8Bit(cmdline.left(cmdline.indexOf('\0')))});
        }
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
