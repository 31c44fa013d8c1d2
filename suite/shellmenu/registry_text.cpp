#include "suite/shellmenu/registry_text.h"

#include <cstring>

namespace shellmenu {

std::optional<std::wstring> TextFromRegistryData(const RegistryData& data)
{
    if (data.type != kRegString && data.type != kRegExpandString)
        return std::nullopt;
    if (!data.fits || data.bytes.size() > kStringValueBytes)
        return std::nullopt;
    if (data.bytes.empty())
        return std::wstring();
    constexpr std::size_t unit = sizeof(char16_t);
    if (data.bytes.size() % unit != 0)
        return std::nullopt;
    // Registry texts are UTF-16 whatever the width of wchar_t on the building host.
    std::u16string units(data.bytes.size() / unit, u'\0');
    std::memcpy(units.data(), data.bytes.data(), data.bytes.size());
    if (units.back() != u'\0')
        return std::nullopt;
    std::wstring text;
    for (char16_t c : units) {
        if (c == u'\0')
            break;
        text.push_back(static_cast<wchar_t>(c));
    }
    return text;
}

}  // namespace shellmenu
