// Conversions between ANSI code-page text and UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace core {

std::wstring AnsiToWide(std::string_view text, UINT codePage = CP_ACP);
std::string WideToAnsi(std::wstring_view text, UINT codePage = CP_ACP);

}  // namespace core
