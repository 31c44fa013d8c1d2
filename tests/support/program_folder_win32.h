// Where the running test program or demo lies, and the registry texts they set up.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// The folder of the running program, with its trailing backslash.
std::wstring ProgramFolder();

// Creates the key when missing and sets a REG_SZ value.
void WriteRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* name,
                       const std::wstring& text);

}  // namespace testsupport
