// UTF-8 to UTF-16 and back, with the system's choices: a malformed byte becomes U+FFFD and a lone
// surrogate is written as three bytes.
#pragma once

#include <string>
#include <string_view>

namespace htmlview {

std::u16string Utf8ToUtf16(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace htmlview
