// The process's trace log as the running Windows writes it.
#include <windows.h>

#include "core/text_convert.h"
#include "setup/sysconfig/trace_log.h"

namespace setup::sysconfig {

TraceLog& ProcessTraceLog()
{
    static TraceLog log(
        TraceLogFormat{(::GetVersion() & 0x80000000u) == 0,  // the high bit marks Windows 9x
                       [](std::string_view text) {
                           const std::wstring wide = core::AnsiToWide(text);
                           return std::u16string(wide.begin(), wide.end());
                       }});
    return log;
}

}  // namespace setup::sysconfig
