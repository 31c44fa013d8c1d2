// The language strings file "lang.loc" carried behind the archive library: the default block and
// the sections by user language, loaded for no language, for one the file may name, and for one
// spelled in another letter case.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "setup/engine/script/setup_messages.h"

namespace engine = setup::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view language : {"", "German", "fRENCH"}) {
        engine::SetupMessages messages;
        messages.LoadFromText(text, language);
        // The lines the engine reads and ignores never replace their messages.
        for (int n = 91; n <= 111; ++n)
            if (!messages.Text(n).empty())
                std::abort();
        engine::LanguageLcidOfName(messages.Text(1));
    }
    return 0;
}
