#include "setup/engine/rtl/code_page.h"

namespace setup::rtl {

std::string CodePageFacts::UpperCase(std::string_view text) const
{
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(result[i]);
        if (leadByte[byte]) {
            ++i;  // the trail byte is part of the same character
            continue;
        }
        result[i] = static_cast<char>(upper[byte]);
    }
    return result;
}

CodePageFacts AsciiCodePage()
{
    CodePageFacts facts;
    for (int b = 0; b < 256; ++b)
        facts.upper[b] = static_cast<std::uint8_t>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
    return facts;
}

std::string AnsiUpperCase(std::string_view text)
{
    return SystemCodePage().UpperCase(text);
}

}  // namespace setup::rtl
