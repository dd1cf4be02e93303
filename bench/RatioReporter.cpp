#include "RatioReporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& reports)
{
    for (const Run& run : reports) {
        if (run.run_type == Run::RT_Iteration && run.iterations > 0)
            m_seconds[QString::fromStdString(run.benchmark_name())] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    ConsoleReporter::ReportRuns(reports);
}

bool RatioReporter::printRatio(const char* what, const char* measured, const char* floor,
                               double target) const
{
    const double ratio =
        m_seconds.value(QLatin1String(measured)) / m_seconds.value(QLatin1String(floor), 1.0);
    const bool met = ratio <= target;
    std::printf("%-10s %.2fx its floor (target at most %.2fx): %s\n", what, ratio, target,
                met ? "met" : "MISSED");
    return met;
}
