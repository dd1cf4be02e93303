// Copying a 256 MB snapshot must stream: the process's peak resident memory may rise by less
// than 8 MB. Linux only: the peak is reset and read through /proc.
#include "BenchFolders.h"
#include "DiskFileSystem.h"

#include <QFile>
#include <QRegularExpression>
#include <cstdio>

namespace {

// VmRSS or VmHWM of this process, in KiB.
qint64 residentKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    const QRegularExpression line(QLatin1String(field) + QStringLiteral(":\\s+(\\d+) kB"));
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

} // namespace

bool measureCopyMemory()
{
    BenchFolders folders;
    const QString source = folders.path(QStringLiteral("scenery/Scenery.Big.cfg"));
    BenchFolders::writeFile(source, 256LL * 1024 * 1024, 'b');
    DiskFileSystem fileSystem;
    QString error;
    resetPeak();
    const qint64 before = residentKiB("VmRSS");
    const QString destination = folders.path(QStringLiteral("scenery/Scenery.cfg"));
    const auto staged = fileSystem.stageCopy(source, destination, &error);
    const bool copied = staged && fileSystem.rename(*staged, destination, &error);
    const double risenMiB = double(residentKiB("VmHWM") - before) / 1024.0;
    const bool met = copied && risenMiB < 8.0;
    std::printf("memory     copying a 256 MB snapshot raised peak resident memory by %.2f MB "
                "(target under 8 MB): %s\n",
                risenMiB, met ? "met" : "MISSED");
    return met;
}
