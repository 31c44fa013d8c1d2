// A "Shell IDList Array" block from another program's drag or clipboard: whatever is read, every
// list stays inside the block, and what is read is built again into a block that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "setup/ui/shell_transfer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto array = setup::ui::ParseIdListArray(bytes);
    if (!array)
        return 0;
    const auto again = setup::ui::ParseIdListArray(setup::ui::BuildIdListArray(*array));
    if (!again || again->parent != array->parent || again->items != array->items)
        std::abort();
    return 0;
}
