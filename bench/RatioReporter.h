#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <benchmark/benchmark.h>

// The console report, plus each benchmark's time per iteration kept for the ratios. A benchmark
// run several times (interleaved with the others, so that a slow spell of the disk falls on them
// alike) counts with the median of its runs.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& reports) override;
    // Prints measured / floor against the target; false when the target was missed.
    bool printRatio(const char* what, const char* measured, const char* floor, double target) const;

private:
    QMap<QString, QList<double>> m_seconds;

    double median(const char* name) const;
};
