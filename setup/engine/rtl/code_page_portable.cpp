// Off Windows there is no ANSI code page: ASCII rules stand in for it.
#include "setup/engine/rtl/code_page.h"

#include <algorithm>

namespace setup::rtl {

const CodePageFacts& SystemCodePage()
{
    static const CodePageFacts facts = AsciiCodePage();
    return facts;
}

int AnsiCompare(std::string_view a, std::string_view b, bool ignoreCase)
{
    const auto& upper = SystemCodePage().upper;
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<std::uint8_t>(a[i]);
        auto y = static_cast<std::uint8_t>(b[i]);
        if (ignoreCase) {
            x = upper[x];
            y = upper[y];
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace setup::rtl
