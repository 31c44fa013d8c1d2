// Off Windows the trace log is written as ASCII taken to UTF-16LE.
#include "setup/sysconfig/trace_log.h"

namespace setup::sysconfig {

TraceLog& ProcessTraceLog()
{
    static TraceLog log(TraceLogFormat{
        true, [](std::string_view text) { return std::u16string(text.begin(), text.end()); }});
    return log;
}

}  // namespace setup::sysconfig
