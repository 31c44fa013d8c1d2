#include "suite/common/language_choice.h"

#include <cwctype>

namespace suite {

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(static_cast<std::wint_t>(a[i])) !=
            std::towlower(static_cast<std::wint_t>(b[i])))
            return false;
    }
    return true;
}

int ChooseLanguageIndex(std::span<const std::wstring_view> codes, std::wstring_view currentCode)
{
    int current = -1;
    int fallback = -1;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (EqualsIgnoreCase(codes[i], currentCode))
            current = static_cast<int>(i);
        if (EqualsIgnoreCase(codes[i], kFallbackLanguageCode))
            fallback = static_cast<int>(i);
    }
    if (current >= 0)
        return current;
    return fallback >= 0 ? fallback : 0;
}

int EntryIndexFor(int requested, int count)
{
    return requested < 0 || requested > count - 1 ? 0 : requested;
}

int ClampLanguageCount(int reported, int allocated)
{
    if (reported < 0)
        return 0;
    return reported > allocated ? allocated : reported;
}

}  // namespace suite
