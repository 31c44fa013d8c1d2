// The links of a page's HTML (hot spots and meta refreshes) taken apart: whatever the text, the
// pieces come from it and a program's command line keeps its path quoted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/wizard/page_decisions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string link(reinterpret_cast<const char*>(data), size);
    const std::string path = setup::wizard::MetaRefreshUrlToPath(link);
    if (path.size() > link.size())
        std::abort();  // decoding only ever shortens
    const setup::wizard::HotSpotAction action = setup::wizard::ClassifyHotSpot(link);
    if (action.path.size() + action.parameters.size() > link.size())
        std::abort();
    (void)setup::wizard::LocalLinkKind(action.path);
    const std::string line = setup::wizard::QuotedCommandLine(action.path, action.parameters);
    if (line.empty() || line.front() != '"')
        std::abort();
    return 0;
}
