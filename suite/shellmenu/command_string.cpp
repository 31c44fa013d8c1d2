#include "suite/shellmenu/command_string.h"

namespace shellmenu {

CommandStringReply ReplyFor(std::uint32_t requestType)
{
    constexpr std::uint32_t kServedBits = 5;  // help text (1) and wide (4)
    constexpr std::uint32_t kWideBit = 4;
    if ((requestType & kServedBits) == 0)
        return CommandStringReply::Refuse;
    if (requestType == kValidateW)
        return CommandStringReply::Confirm;
    return (requestType & kWideBit) ? CommandStringReply::Wide : CommandStringReply::Ansi;
}

}  // namespace shellmenu
