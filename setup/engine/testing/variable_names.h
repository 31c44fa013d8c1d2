// A fixture's run variables under the names of the operations as free functions, so that a test
// body reads the store the way the statements' own texts describe it: GetVariable("TITLE").
#pragma once

#include <string>
#include <string_view>

#include "setup/engine/script/variables.h"

namespace setup::engine::testing {

class VariableNames
{
protected:
    // The fixture's run variables.
    virtual ScriptVariables& RunVariables() = 0;

    std::string GetVariable(std::string_view name) { return RunVariables().Get(name); }
    void SetVariable(std::string_view name, std::string_view value, std::string_view context)
    {
        RunVariables().Set(name, value, context);
    }
    void AssignVariable(std::string_view name, std::string_view value, std::string_view context)
    {
        RunVariables().Assign(name, value, context);
    }
    bool VariableExists(std::string_view name) { return RunVariables().Exists(name); }
    std::string ExpandVariables(std::string_view text) { return RunVariables().Expand(text); }
    std::string ExpandVariablesQuoted(std::string_view text)
    {
        return RunVariables().ExpandQuoted(text);
    }
    std::string GetVariableValue(std::string_view reference)
    {
        return RunVariables().ValueOf(reference);
    }
    std::string GetVariableValueOrMarker(std::string_view reference)
    {
        return RunVariables().ValueOrMarker(reference);
    }
    std::string GetVariablesAsCommaText() { return RunVariables().AsCommaText(); }
    void SetVariablesFromCommaText(std::string_view text) { RunVariables().SetFromCommaText(text); }
    void ClearVariables() { RunVariables().Clear(); }
    bool IsCommandLineOverride(std::string_view name)
    {
        return RunVariables().IsCommandLineOverride(name);
    }
    std::string NormalizePath(std::string_view text) { return RunVariables().NormalizePath(text); }
};

}  // namespace setup::engine::testing
