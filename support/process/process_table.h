// The running processes as the process helpers see them: a snapshot of executable names and the
// one action they take on a process. An interface, so the rules run against a fake in tests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace process {

struct ProcessEntry
{
    DWORD id;
    std::wstring exeName;  // the file name the snapshot reports
};

enum class TerminateResult
{
    Terminated,
    CannotOpen,
};

class IProcessTable
{
public:
    // Nothing when no snapshot could be taken.
    virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
    // Opens the process with all access rights and ends it with exit code 1.
    virtual TerminateResult Terminate(DWORD processId) = 0;

protected:
    ~IProcessTable() = default;
};

class Win32ProcessTable final : public IProcessTable
{
public:
    std::optional<std::vector<ProcessEntry>> Snapshot() override;
    TerminateResult Terminate(DWORD processId) override;
};

}  // namespace process
