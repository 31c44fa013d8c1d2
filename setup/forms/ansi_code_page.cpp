#include "setup/forms/ansi_code_page.h"

#include <cstdint>

namespace setup::forms {

std::string Latin1CodePage::FromUtf16(std::u16string_view text) const
{
    std::string ansi;
    ansi.reserve(text.size());
    for (const char16_t unit : text)
        ansi += unit <= 0xFF ? static_cast<char>(unit) : '?';
    return ansi;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    constexpr char16_t kReplacement = 0xFFFD;
    std::u16string wide;
    wide.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        int length = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            minimum = 0x10000;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        valid = valid && code >= minimum && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (!valid) {
            wide += kReplacement;
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            wide += static_cast<char16_t>(0xD800 | (code >> 10));
            wide += static_cast<char16_t>(0xDC00 | (code & 0x3FF));
        } else {
            wide += static_cast<char16_t>(code);
        }
        i += length;
    }
    return wide;
}

std::string AnsiText(const FormValue& value, const IAnsiCodePage& codePage)
{
    if (value.type == ValueType::WString)
        return codePage.FromUtf16(value.wide);
    if (value.type == ValueType::UTF8String)
        return codePage.FromUtf16(Utf8ToUtf16(value.bytes));
    return value.bytes;
}

FormValue WithAnsiStrings(const FormValue& value, const IAnsiCodePage& codePage)
{
    if (value.type == ValueType::WString || value.type == ValueType::UTF8String)
        return FormValue::Text(AnsiText(value, codePage));
    FormValue converted = value;
    for (FormValue& element : converted.list)
        element = WithAnsiStrings(element, codePage);
    for (FormCollectionItem& item : converted.items)
        for (FormProperty& property : item.properties)
            property.value = WithAnsiStrings(property.value, codePage);
    return converted;
}

}  // namespace setup::forms
