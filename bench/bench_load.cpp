// Loading a 20 KB FS9.cfg and a 2 MB Scenery.cfg through the file operation, without and with the
// history keeping the pair it replaces, against the same two durable copies made directly: read,
// write, flush to disk, rename, flush the rename to disk.
#include "BenchFolders.h"
#include "DiskFileSystem.h"
#include "FileCommit.h"
#include "FileOperation.h"
#include "History.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <benchmark/benchmark.h>

namespace {

struct LoadFolders : BenchFolders
{
    LoadFolders()
    {
        writeFile(path(QStringLiteral("fs9/FS9.cfg")), 20 * 1024, 'm');
        writeFile(path(QStringLiteral("scenery/Scenery.cfg")), 2 * 1024 * 1024, 's');
        writeFile(path(QStringLiteral("fs9/FS9.Night.cfg")), 20 * 1024, 'M');
        writeFile(path(QStringLiteral("scenery/Scenery.Night.cfg")), 2 * 1024 * 1024, 'S');
        writeFile(path(QStringLiteral("fs9/FS9.Day.cfg")), 20 * 1024, 'D');
        writeFile(path(QStringLiteral("scenery/Scenery.Day.cfg")), 2 * 1024 * 1024, 'd');
    }
};

bool durableCopy(const QString& source, const QString& destination)
{
    QFile in(source);
    QSaveFile out(destination);
    QString error;
    return in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
           out.write(in.readAll()) >= 0 && out.commit() &&
           syncFolder(QFileInfo(destination).path(), &error);
}

void BM_LoadBaseline(benchmark::State& state)
{
    LoadFolders folders;
    for (auto _ : state) {
        if (!durableCopy(folders.path(QStringLiteral("fs9/FS9.Night.cfg")),
                         folders.path(QStringLiteral("fs9/FS9.cfg"))) ||
            !durableCopy(folders.path(QStringLiteral("scenery/Scenery.Night.cfg")),
                         folders.path(QStringLiteral("scenery/Scenery.cfg"))))
            state.SkipWithError("copy failed");
    }
}
BENCHMARK(BM_LoadBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Load(benchmark::State& state)
{
    LoadFolders folders;
    DiskFileSystem fileSystem;
    for (auto _ : state) {
        const auto result = processFiles(Operation::Load, QStringLiteral("Night"), QString(),
                                         folders.fs9(), folders.scenery(), fileSystem);
        if (!result.performed)
            state.SkipWithError(qPrintable(result.message));
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime();

// The history on the same file system as the live files. Loading back and forth: every Load
// keeps a pair that the history holds already, so it compares the pair and writes an entry.
// With fresh bytes: before every Load the live scenery file is rewritten with one area's line
// changed in its middle, keeping its size (and flushed, as the simulator's writes are long before a
// switch), so every Load also moves the old pair into the history, after telling its bytes from
// those of every kept file of that size.
void BM_LoadWithHistory(benchmark::State& state)
{
    LoadFolders folders;
    DiskFileSystem fileSystem;
    History history(folders.path(QStringLiteral("history")), 30, qint64{200} << 20);
    const bool freshBytes = state.range(0) != 0;
    const QString liveScenery = folders.path(QStringLiteral("scenery/Scenery.cfg"));
    int round = 0;
    for (auto _ : state) {
        if (freshBytes) {
            state.PauseTiming();
            BenchFolders::writeFile(liveScenery, 2 * 1024 * 1024, 's');
            QFile scenery(liveScenery);
            if (!scenery.open(QIODevice::ReadWrite) || !scenery.seek(1024 * 1024) ||
                scenery.write(QByteArray::number(round).rightJustified(8, '0')) != 8)
                state.SkipWithError("could not change the scenery file");
            scenery.close();
            QString error;
            syncFile(liveScenery, &error);
            state.ResumeTiming();
        }
        const QString name = ++round % 2 ? QStringLiteral("Night") : QStringLiteral("Day");
        const auto result = processFiles(Operation::Load, name, QString(), folders.fs9(),
                                         folders.scenery(), fileSystem, &history);
        if (!result.performed)
            state.SkipWithError(qPrintable(result.message));
    }
}
BENCHMARK(BM_LoadWithHistory)
    ->ArgName("freshBytes")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
