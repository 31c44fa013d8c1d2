// The full path of a loaded module, however long.
#pragma once

#include <windows.h>

#include <string>

namespace core {

// Empty when the system cannot tell.
std::wstring ModulePath(HMODULE module);

}  // namespace core
