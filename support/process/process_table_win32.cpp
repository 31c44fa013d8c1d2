#include "support/process/process_table.h"

#include "core/unique_handle.h"

#include <tlhelp32.h>

namespace process {

std::optional<std::vector<ProcessEntry>> Win32ProcessTable::Snapshot()
{
    core::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return std::nullopt;
    std::vector<ProcessEntry> entries;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        entries.push_back({entry.th32ProcessID, entry.szExeFile});
    }
    return entries;
}

TerminateResult Win32ProcessTable::Terminate(DWORD processId)
{
    core::UniqueProcess handle(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    if (!handle)
        return TerminateResult::CannotOpen;
    ::TerminateProcess(handle.Get(), 1);
    return TerminateResult::Terminated;
}

}  // namespace process
