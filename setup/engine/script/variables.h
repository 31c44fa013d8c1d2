// A run's variables (`ScriptVariables`: the store, the silent switch, the command-line values and
// the names the state file keeps) with the operations every statement uses on them: assignment
// with the silent-mode rule, expansion, comma text for plug-ins and path normalisation; and the
// pure text helpers beside them: the "$NEWLINE$" encoding, the TRUE/FALSE convention and the
// dotted-version reader.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/variable_manager.h"

namespace setup::engine {

// The context under which start-up applies command-line values; the only one that may change a
// command-line variable in silent mode.
inline constexpr std::string_view kInjectOverrideContext = "Inject Override Command Line";

class ScriptVariables
{
public:
    ScriptVariables() = default;
    ScriptVariables(const ScriptVariables&) = delete;
    ScriptVariables& operator=(const ScriptVariables&) = delete;

    // The store itself, for the engine's own values that no command-line assignment holds back.
    TVariableManager& Store() { return m_store; }
    const TVariableManager& Store() const { return m_store; }

    std::string Get(std::string_view name) const;
    void Set(std::string_view name, std::string_view value, std::string_view context);
    void Assign(std::string_view name, std::string_view value, std::string_view context);
    bool Exists(std::string_view name) const;
    std::string Expand(std::string_view text) const;
    std::string ExpandQuoted(std::string_view text) const;
    // The expanded value of "$NAME$" or NAME; empty when undefined.
    std::string ValueOf(std::string_view reference) const;
    // As ValueOf, but "$TARQNX$" for an undefined variable.
    std::string ValueOrMarker(std::string_view reference) const;
    std::string AsCommaText() const;
    // Replaces the whole store by the NAME,VALUE,... pairs of the text.
    void SetFromCommaText(std::string_view text);
    void Clear();

    // True when silent mode keeps the name's command-line value.
    bool IsCommandLineOverride(std::string_view name) const;

    // Expanded, every pair of backslashes made one; a network path keeps its leading pair.
    std::string NormalizePath(std::string_view text) const;

    // Written by the GUI thread (start-up and before every statement); read by any thread.
    std::atomic<bool> SilentMode{false};
    // NAME, VALUE, NAME, VALUE ... from the command line: filled once at start-up before any
    // worker exists; read-only afterwards.
    rtl::TStringList CommandLineOverrides;
    // The names of the variables the installer-cache state file keeps.
    rtl::TStringList PersistedVariables;

private:
    TVariableManager m_store{false, true};
};

// "$NAME$" -> "NAME"; anything else -> empty.
std::string StripDollars(std::string_view text);

std::string DecodeNewlines(std::string_view text);
std::string EncodeNewlines(std::string_view text);
std::string BoolToText(bool flag);
bool TextToBool(std::string_view text);
// Takes the number before the next '.' off the text (raises EConvertError when it is not one);
// the last field gives its value (0 when not a number) and leaves the text empty.
std::int32_t NextVersionField(std::string& text);

}  // namespace setup::engine
