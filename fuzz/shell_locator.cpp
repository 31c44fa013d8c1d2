// A stored folder locator ("Pidl" of a form file) read back: whatever is read, what it stores
// again is a well-formed record and every ID-list reader stays inside the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "setup/ui/shell_locator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    setup::ui::TNsShellLocator locator;
    locator.Restore(bytes);
    // A located desktop is not written to form files.
    const bool written = locator.LocatorKind() == setup::ui::TNsShellLocator::SpecialKind ||
                         setup::ui::IdListCount(locator.GetIdList()) != 0u;
    const std::string stored = locator.Stored();
    setup::ui::TNsShellLocator again;
    again.Restore(stored);
    if (written && again.Stored() != stored)
        std::abort();
    const std::string_view list = bytes.size() > 5 ? bytes.substr(5) : bytes;
    if (auto count = setup::ui::IdListCount(list))
        for (std::size_t i = 0; i <= *count; ++i) {
            (void)setup::ui::IdListItem(list, i);
            (void)setup::ui::IdListParent(list, i);
        }
    return 0;
}
