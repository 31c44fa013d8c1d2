#include <windows.h>

#include "setup/engine/rtl/code_page.h"

#include <algorithm>
#include <climits>

namespace setup::rtl {

const CodePageFacts& SystemCodePage()
{
    static const CodePageFacts facts = [] {
        CodePageFacts f;
        char bytes[256];
        for (int b = 0; b < 256; ++b)
            bytes[b] = static_cast<char>(b);
        ::CharUpperBuffA(bytes, 256);
        for (int b = 0; b < 256; ++b) {
            f.upper[b] = static_cast<std::uint8_t>(bytes[b]);
            f.leadByte[b] = ::IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
        }
        return f;
    }();
    return facts;
}

int AnsiCompare(std::string_view a, std::string_view b, bool ignoreCase)
{
    // Texts beyond INT_MAX bytes cannot be handed to the system in one piece.
    const int lengthA = static_cast<int>(std::min<std::size_t>(a.size(), INT_MAX));
    const int lengthB = static_cast<int>(std::min<std::size_t>(b.size(), INT_MAX));
    const int result = ::CompareStringA(LOCALE_USER_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0,
                                        a.data(), lengthA, b.data(), lengthB);
    return result - CSTR_EQUAL;  // a failed call (0) comes out as unequal
}

}  // namespace setup::rtl
