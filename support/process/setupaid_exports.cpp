// The exports that setup scripts call: ANSI executable names in, plain integers out. Nothing may
// throw out of these functions.
#include "core/text_convert.h"
#include "support/process/process_helpers.h"

namespace {

template <typename Action>
int WithExeName(const char* exeName, Action action) noexcept
{
    if (!exeName)
        return process::kFailure;
    try {
        process::Win32ProcessTable table;
        return action(table, core::AnsiToWide(exeName));
    } catch (...) {
        return process::kFailure;
    }
}

}  // namespace

extern "C" {

int WINAPI VNTExitProgram(const char* exeName) noexcept
{
    return WithExeName(exeName, [](process::IProcessTable& table, const std::wstring& name) {
        return process::ExitProgram(table, name);
    });
}

int WINAPI VNTNrInstances(const char* exeName) noexcept
{
    return WithExeName(exeName, [](process::IProcessTable& table, const std::wstring& name) {
        return process::CountInstances(table, name);
    });
}

BOOL WINAPI VNTExitProgramGently(int) noexcept
{
    return process::ExitMailvaneGently();
}

int __cdecl VNTOutlookVersion() noexcept
{
    try {
        return process::OutlookMajorVersion();
    } catch (...) {
        return process::kFailure;
    }
}

}  // extern "C"
