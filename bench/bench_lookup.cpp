// Finding a file in another letter case in a folder of 5,000 files, against reading the folder's
// names alone, which no search without regard to letter case on a case-sensitive file system can
// avoid. The exact spelling and a missing name are measured beside them.
#include "BenchFolders.h"
#include "DirectoryLookup.h"

#include <QDirIterator>
#include <benchmark/benchmark.h>

namespace {

constexpr int fileCount = 5000;

struct CrowdedFolder : BenchFolders
{
    CrowdedFolder()
    {
        for (int n = 0; n < fileCount; ++n)
            writeFile(path(QStringLiteral("fs9/texture%1.bmp").arg(n)), 0, 't');
        writeFile(path(QStringLiteral("fs9/fs9.cfg")), 0, 'm');
        writeFile(path(QStringLiteral("fs9/FS9.Night.cfg")), 0, 'n');
    }
};

void BM_ListNames(benchmark::State& state)
{
    CrowdedFolder folders;
    for (auto _ : state) {
        QDirIterator names(folders.fs9(),
                           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        int count = 0;
        while (names.hasNext()) {
            names.next();
            benchmark::DoNotOptimize(names.fileName());
            ++count;
        }
        if (count != fileCount + 2)
            state.SkipWithError("the folder lists the wrong number of files");
    }
}
BENCHMARK(BM_ListNames)->Unit(benchmark::kMicrosecond);

void lookUp(benchmark::State& state, const QString& name, const QString& expected)
{
    CrowdedFolder folders;
    for (auto _ : state) {
        if (spellingOnDisk(folders.fs9(), name) != expected)
            state.SkipWithError("wrong spelling found");
    }
}

void BM_LookupOtherCase(benchmark::State& state)
{
    lookUp(state, QStringLiteral("FS9.cfg"), QStringLiteral("fs9.cfg"));
}
BENCHMARK(BM_LookupOtherCase)->Unit(benchmark::kMicrosecond);

void BM_LookupExact(benchmark::State& state)
{
    lookUp(state, QStringLiteral("FS9.Night.cfg"), QStringLiteral("FS9.Night.cfg"));
}
BENCHMARK(BM_LookupExact)->Unit(benchmark::kMicrosecond);

void BM_LookupMissing(benchmark::State& state)
{
    lookUp(state, QStringLiteral("FS9.Dawn.cfg"), QStringLiteral("FS9.Dawn.cfg"));
}
BENCHMARK(BM_LookupMissing)->Unit(benchmark::kMicrosecond);

} // namespace
