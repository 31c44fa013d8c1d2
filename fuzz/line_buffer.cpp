// Received bytes split into lines, as line mode reads them: the first byte picks editing, the
// terminator and the size of the pieces the rest arrives in.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "setup/media/net/line_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t options = data[0];
    const bool edit = options & 1, echo = options & 2;
    const std::string_view lineEnd = options & 4 ? std::string_view("\n") : "\r\n";
    const std::size_t piece = 1 + (options >> 3);
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    net::LineBuffer lines;
    while (!rest.empty()) {
        const std::string_view next = rest.substr(0, piece);
        rest.remove_prefix(next.size());
        const std::string echoed = lines.Append(next, edit, echo);
        if (!echo && !echoed.empty())
            __builtin_trap();
        for (std::size_t length; (length = lines.FindLine(lineEnd)) != 0;) {
            if (length > lines.Size() || !lines.Bytes().substr(0, length).ends_with(lineEnd))
                __builtin_trap();
            lines.Consume(length);
        }
    }
    return 0;
}
