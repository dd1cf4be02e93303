#include "ProcessTable.h"

#include <windows.h>
// tlhelp32.h needs the types windows.h declares.
#include <tlhelp32.h>

namespace {

// The snapshot of the process list that Task Manager shows: every process's id and the file name
// of its program (fs9.exe), without opening any of them, so that a process of another user or an
// elevated one counts too.
class ToolhelpProcessTable : public ProcessTable
{
public:
    std::optional<QList<ProcessEntry>> processes() const override
    {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE)
            return std::nullopt;
        QList<ProcessEntry> entries;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more;
             more = Process32NextW(snapshot, &entry)) {
            const QString name = QString::fromWCharArray(entry.szExeFile);
            entries.append({qint64(entry.th32ProcessID), name, name});
        }
        CloseHandle(snapshot);
        if (entries.isEmpty()) // not even this process: the snapshot told nothing
            return std::nullopt;
        return entries;
    }
};

} // namespace

std::unique_ptr<ProcessTable> systemProcessTable()
{
    return std::make_unique<ToolhelpProcessTable>();
}
