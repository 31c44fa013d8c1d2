// The compiled script appended to the setup program: read, checked before it runs, and looked up
// the way start-up and the interpreter do. A bad setup mode or a missing command header is the
// engine's own error; anything else escaping is a fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/script_check.h"
#include "setup/engine/script/setup_script.h"

namespace engine = setup::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const engine::SetupScript script = engine::ReadSetupScript(text);
        std::string message;
        engine::ScriptVariables variables;
        engine::CheckScript(variables, script.CommandList, script.StatementKeyList, script.StatementFlagList,
                            message, script.ParameterPools);
        for (std::size_t i = 0; i < script.CommandList.Count(); ++i) {
            engine::GetCommandHeader(script, static_cast<int>(i), true);
            engine::GetStatementParam(script.ParameterPools, script.StatementKeyList.ItemOrEmpty(i),
                                      1);
        }
        // Start-up expands the title and the interpreter each parameter it localizes.
        engine::ExpandCompilerVariables(script, script.ProductTitle);
        const engine::TranslationTables noTranslations;
        engine::LocalizeParameter(script, noTranslations, script.ProductVersion,
                                  script.StatementKeyList.ItemOrEmpty(0), 1);
    } catch (const setup::rtl::Exception&) {
    }
    return 0;
}
