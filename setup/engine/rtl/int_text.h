// Integer <-> text conversions with the framework's rules (leading blanks, sign, '$' or "0x"
// hexadecimal) and its conversion error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup::rtl {

std::optional<std::int32_t> TryStrToInt(std::string_view text);
std::optional<std::int64_t> TryStrToInt64(std::string_view text);
// Raises EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

}  // namespace setup::rtl
