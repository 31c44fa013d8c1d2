// Language texts that carry printf-style integer fields ("%d", "%u", "%I64u", "%llu"): the fields
// filled left to right with the given numbers; any other text, and fields beyond the numbers, kept.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace trashwipe {

std::wstring FormatNumbers(std::wstring_view format, std::initializer_list<std::int64_t> numbers);

}  // namespace trashwipe
