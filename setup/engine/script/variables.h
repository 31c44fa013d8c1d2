// The process's one variable store, `Variables`, and the helpers every statement uses with it:
// assignment with the silent-mode rule, expansion, comma text for plug-ins, the "$NEWLINE$"
// encoding, path normalisation, the TRUE/FALSE convention and the dotted-version reader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/script/variable_manager.h"

namespace setup::engine {

extern TVariableManager Variables;

// The context under which start-up applies command-line values; the only one that may change a
// command-line variable in silent mode.
inline constexpr std::string_view kInjectOverrideContext = "Inject Override Command Line";

std::string GetVariable(std::string_view name);
void SetVariable(std::string_view name, std::string_view value, std::string_view context);
void AssignVariable(std::string_view name, std::string_view value, std::string_view context);
bool VariableExists(std::string_view name);
std::string ExpandVariables(std::string_view text);
std::string ExpandVariablesQuoted(std::string_view text);
// "$NAME$" -> "NAME"; anything else -> empty.
std::string StripDollars(std::string_view text);
std::string GetVariableValue(std::string_view reference);
// As GetVariableValue, but "$TARQNX$" for an undefined variable.
std::string GetVariableValueOrMarker(std::string_view reference);
std::string GetVariablesAsCommaText();
void SetVariablesFromCommaText(std::string_view text);
void ClearVariables();

// True when silent mode keeps the name's command-line value.
bool IsCommandLineOverride(std::string_view name);

std::string DecodeNewlines(std::string_view text);
std::string EncodeNewlines(std::string_view text);
std::string NormalizePath(std::string_view text);
std::string BoolToText(bool flag);
bool TextToBool(std::string_view text);
// Takes the number before the next '.' off the text (raises EConvertError when it is not one);
// the last field gives its value (0 when not a number) and leaves the text empty.
std::int32_t NextVersionField(std::string& text);

}  // namespace setup::engine
