// How a request for an item's verb or help text is answered, by its request type.
#pragma once

#include <cstdint>

namespace shellmenu {

enum class CommandStringReply
{
    Refuse,   // E_INVALIDARG
    Wide,     // the text, copied as UTF-16
    Ansi,     // the text, converted to the ANSI code page
    Confirm,  // a validation: S_OK, nothing copied (the buffer may be absent)
};

// Request types as the shell numbers them: verb, help text and validate, ANSI then wide.
inline constexpr std::uint32_t kVerbA = 0, kHelpTextA = 1, kValidateA = 2, kVerbW = 4,
                               kHelpTextW = 5, kValidateW = 6;

CommandStringReply ReplyFor(std::uint32_t requestType);

}  // namespace shellmenu
