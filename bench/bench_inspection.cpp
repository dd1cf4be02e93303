// Reading a 2 MB scenery list of 8,000 areas for a check and for a diff, against a plain read of
// the same files line by line in the same run; the whole check with its folder lookups, and the
// file's bytes read in one piece, for comparison.
#include "BenchFolders.h"
#include "ConfigDiff.h"
#include "SceneryCheck.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

constexpr int areaCount = 8000;

// Areas as the simulator writes them, CR LF ended; every 50th area of the second list is
// switched off and every 400th has moved to the top, so that the diff has work to do.
QByteArray sceneryList(bool changed)
{
    QByteArray text = "[General]\r\nTitle=FS9 World Scenery\r\nDescription=FS9 Scenery Data\r\n"
                      "Clean_on_Exit=TRUE\r\n\r\n";
    for (int n = 1; n <= areaCount; ++n) {
        const QByteArray number = QByteArray::number(n).rightJustified(4, '0');
        const int layer = changed && n % 400 == 0 ? areaCount + n : n;
        text += "[Area." + number + "]\r\nTitle=Addon Airport Scenery Package " + number +
                " by a Third-Party Vendor, Europe and North America, with Photo Terrain "
                "and Night Lighting\r\nTexture_ID=1\r\n"
                "Local=Addon Scenery\\Vendor " +
                QByteArray::number(n / 100) + "\\Airports\\Package " + number +
                "\r\nRemote=\r\nLayer=" + QByteArray::number(layer) +
                "\r\nActive=" + (changed && n % 50 == 0 ? "FALSE" : "TRUE") +
                "\r\nRequired=FALSE\r\n\r\n";
    }
    return text;
}

struct SceneryFolders : BenchFolders
{
    SceneryFolders()
    {
        for (const bool changed : {false, true}) {
            QFile file(list(changed));
            if (!file.open(QIODevice::WriteOnly) || file.write(sceneryList(changed)) < 0)
                qFatal("cannot write %s", qPrintable(file.fileName()));
        }
        // Every area's folder exists, so that the check looks each one up to the end.
        for (int n = 1; n <= areaCount; ++n)
            QDir(scenery()).mkpath(QStringLiteral("Addon Scenery/Vendor %1/Airports/Package %2")
                                       .arg(n / 100)
                                       .arg(n, 4, 10, QLatin1Char('0')));
    }
    QString list(bool changed) const
    {
        return scenery() +
               (changed ? QStringLiteral("/Scenery.Night.cfg") : QStringLiteral("/Scenery.cfg"));
    }
};

const SceneryFolders& folders()
{
    static const SceneryFolders made;
    return made;
}

// The floor: the file's lines as any line-based reader gets them, before it looks at one.
void readLines(benchmark::State& state, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        state.SkipWithError("cannot open");
    while (!file.atEnd())
        benchmark::DoNotOptimize(file.readLine());
}

SceneryList readList(benchmark::State& state, const QString& path)
{
    SceneryList list;
    QString error;
    if (!readSceneryList(path, &list, &error))
        state.SkipWithError(qPrintable(error));
    return list;
}

// The bytes alone, in one read: shown for comparison.
void BM_SceneryRawRead(benchmark::State& state)
{
    QFile file(folders().list(false));
    for (auto _ : state) {
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        benchmark::DoNotOptimize(file.readAll());
        file.close();
    }
}
BENCHMARK(BM_SceneryRawRead)->Unit(benchmark::kMillisecond);

void BM_SceneryLineRead(benchmark::State& state)
{
    folders();
    for (auto _ : state)
        readLines(state, folders().list(false));
}
BENCHMARK(BM_SceneryLineRead)->Unit(benchmark::kMillisecond);

void BM_SceneryReadForCheck(benchmark::State& state)
{
    folders();
    for (auto _ : state)
        benchmark::DoNotOptimize(readList(state, folders().list(false)));
}
BENCHMARK(BM_SceneryReadForCheck)->Unit(benchmark::kMillisecond);

// The whole check, with each of the 8,000 folders looked up on the disk.
void BM_SceneryCheck(benchmark::State& state)
{
    const CheckFolders where{folders().scenery(), folders().scenery()};
    for (auto _ : state) {
        const SceneryCheck check = checkSceneryList(readList(state, folders().list(false)), where);
        if (!check.findings.isEmpty())
            state.SkipWithError(qPrintable(check.findings.first().message));
    }
}
BENCHMARK(BM_SceneryCheck)->Unit(benchmark::kMillisecond);

void BM_SceneryLineReadTwo(benchmark::State& state)
{
    folders();
    for (auto _ : state) {
        readLines(state, folders().list(false));
        readLines(state, folders().list(true));
    }
}
BENCHMARK(BM_SceneryLineReadTwo)->Unit(benchmark::kMillisecond);

void BM_SceneryDiff(benchmark::State& state)
{
    folders();
    for (auto _ : state) {
        const auto changes = diffAreas(readList(state, folders().list(false)).areas,
                                       readList(state, folders().list(true)).areas);
        if (changes.isEmpty())
            state.SkipWithError("no differences found");
    }
}
BENCHMARK(BM_SceneryDiff)->Unit(benchmark::kMillisecond);

} // namespace
