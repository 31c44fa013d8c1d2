// Pictures from the suite's image library "Glyphstore.dll": its GetBitmapId takes an 8-bit image
// name and answers the number of a bitmap resource inside the library, or -1.
#pragma once

#include "suite/common/user_messages.h"

#include <windows.h>

#include <string_view>

namespace trashwipe {

inline constexpr wchar_t kImageLibrary[] = L"Glyphstore.dll";

// The bitmap, which stays valid after the library is released; none after a message saying why.
HBITMAP LoadSuiteImage(suite::ISuiteLocator& locator, suite::IUserMessages& messages,
                       std::wstring_view name);

}  // namespace trashwipe
