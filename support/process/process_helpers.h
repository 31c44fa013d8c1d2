// What setup scripts ask about running programs: how many instances of an executable run, ending
// them all, asking the mail add-in's window to close, and the installed Outlook's major version.
#pragma once

#include "support/process/process_table.h"

#include <string_view>

namespace process {

inline constexpr int kFailure = -1;

// Names compare without regard to case, by the system's upper-case table.
bool ExeNamesMatch(std::wstring_view a, std::wstring_view b) noexcept;

// The number of processes with that executable name; -1 without a snapshot or any process.
int CountInstances(IProcessTable& table, std::wstring_view exeName);

// Ends every process with that executable name: 1 when all ended (none running included), -1
// without a snapshot, without any process, or at the first one that cannot be opened; those
// ended before it stay ended and the later ones keep running.
int ExitProgram(IProcessTable& table, std::wstring_view exeName);

// Posts WM_CLOSE to the top-level window of the class "Vontar Mailvane"; FALSE when there is none.
BOOL ExitMailvaneGently() noexcept;

// The major file version of the executable registered under App Paths for OUTLOOK.EXE; -1 when
// the entry, its path or the file's version resource is missing.
int OutlookMajorVersion();

}  // namespace process
