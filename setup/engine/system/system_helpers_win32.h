// The processor affinity that start-up sets.
#pragma once

#include <windows.h>

namespace setup::engine {

// SetProcessAffinityMask, looked up in kernel32 at run time; 0 when it is missing or fails.
BOOL SetProcessAffinity(HANDLE process, DWORD_PTR mask);

}  // namespace setup::engine
