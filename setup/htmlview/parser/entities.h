// The named character references of HTML 4.01.
#pragma once

#include <optional>
#include <string_view>

namespace htmlview {

// The code point of a reference name, compared case-sensitively.
std::optional<char16_t> LookUpEntity(std::string_view name);

}  // namespace htmlview
