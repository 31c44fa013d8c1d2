// The start of a Flash movie through the frame-rectangle reader, plain and compressed.
#include <cstddef>
#include <cstdint>
#include <span>

#include "setup/ui/flash/swf_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    setup::ui::ReadSwfFrameRect(std::span(data, size));
    return 0;
}
