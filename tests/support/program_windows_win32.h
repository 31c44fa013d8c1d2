// The windows a running program shows, found by its image path, for tests that drive a program
// from outside as a user would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The visible top-level windows of the processes whose image is the program (a full path, letter
// case ignored).
std::vector<HWND> VisibleWindowsOf(const std::string& programPath);

}  // namespace testsupport
