#pragma once

#include <QMap>
#include <QString>
#include <benchmark/benchmark.h>

// The console report, plus each benchmark's time per iteration kept for the ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& reports) override;
    // Prints measured / floor against the target; false when the target was missed.
    bool printRatio(const char* what, const char* measured, const char* floor, double target) const;

private:
    QMap<QString, double> m_seconds;
};
