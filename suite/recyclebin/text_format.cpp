#include "suite/recyclebin/text_format.h"

#include <array>

namespace trashwipe {
namespace {

// Length of the integer field at `at` ("%" included), or 0 when none starts there.
std::size_t FieldLength(std::wstring_view text, std::size_t at)
{
    static constexpr std::array<std::wstring_view, 7> kFields = {
        L"%I64u", L"%I64d", L"%llu", L"%lld", L"%lu", L"%d", L"%u"};
    for (std::wstring_view field : kFields)
        if (text.substr(at, field.size()) == field)
            return field.size();
    return 0;
}

}  // namespace

std::wstring FormatNumbers(std::wstring_view format, std::initializer_list<std::int64_t> numbers)
{
    std::wstring out;
    auto next = numbers.begin();
    for (std::size_t at = 0; at < format.size();) {
        const std::size_t length = format[at] == L'%' ? FieldLength(format, at) : 0;
        if (length > 0 && next != numbers.end()) {
            out += std::to_wstring(*next++);
            at += length;
        } else {
            out.push_back(format[at++]);
        }
    }
    return out;
}

}  // namespace trashwipe
