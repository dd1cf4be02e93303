#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& reports)
{
    for (const Run& run : reports) {
        if (run.run_type == Run::RT_Iteration && run.iterations > 0)
            m_seconds[QString::fromStdString(run.benchmark_name())].append(
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit));
    }
    ConsoleReporter::ReportRuns(reports);
}

bool RatioReporter::printRatio(const char* what, const char* measured, const char* floor,
                               double target) const
{
    const double ratio = median(measured) / median(floor);
    const bool met = ratio <= target;
    std::printf("%-10s %.2fx its floor (target at most %.2fx): %s\n", what, ratio, target,
                met ? "met" : "MISSED");
    return met;
}

double RatioReporter::median(const char* name) const
{
    QList<double> times = m_seconds.value(QLatin1String(name));
    if (times.isEmpty())
        return 0;
    std::sort(times.begin(), times.end());
    return times.size() % 2 != 0 ? times[times.size() / 2]
                                 : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
}
