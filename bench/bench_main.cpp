#include "RatioReporter.h"

#include <QApplication>

bool measureCopyMemory();

int main(int argc, char* argv[])
{
    // The memory figure comes first, while the process's peak is still that of a bare start.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    const bool memoryMet = measureCopyMemory();

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const bool startupMet = reporter.printRatio("start-up", "BM_Startup", "BM_StartupFloor", 1.5);
    const bool loadMet =
        reporter.printRatio("load", "BM_Load/real_time", "BM_LoadBaseline/real_time", 1.25);
    const bool historyMet = reporter.printRatio(
        "history", "BM_LoadWithHistory/freshBytes:0/real_time", "BM_LoadBaseline/real_time", 1.5);
    const bool freshMet = reporter.printRatio("fresh", "BM_LoadWithHistory/freshBytes:1/real_time",
                                              "BM_LoadBaseline/real_time", 1.5);
    const bool lookupMet =
        reporter.printRatio("lookup", "BM_LookupOtherCase", "BM_ListNames", 1.25);
    const bool checkMet =
        reporter.printRatio("check", "BM_SceneryReadForCheck", "BM_SceneryLineRead", 3.0);
    const bool diffMet =
        reporter.printRatio("diff", "BM_SceneryDiff", "BM_SceneryLineReadTwo", 3.0);
    return memoryMet && startupMet && loadMet && historyMet && freshMet && lookupMet && checkMet &&
                   diffMet
               ? 0
               : 1;
}
