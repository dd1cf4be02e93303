#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// What the system shows of one running process.
struct ProcessEntry
{
    qint64 pid = 0;
    QString name;          // the system's short name for it
    QString firstArgument; // the program as it was started; under Wine, its Windows path
};

// The running processes of this system.
class ProcessTable
{
public:
    virtual ~ProcessTable() = default;
    // Nothing when this system does not show its processes.
    virtual std::optional<QList<ProcessEntry>> processes() const = 0;
};

// On Linux, the processes /proc shows; elsewhere a table that knows none.
std::unique_ptr<ProcessTable> systemProcessTable();
