#include "setup/engine/script/variables.h"

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/command_line.h"
#include "setup/engine/script/fast_strings.h"

namespace setup::engine {

std::atomic<bool> SilentMode{false};
rtl::TStringList CommandLineOverrides;
TVariableManager Variables(false, true);

namespace {

constexpr std::string_view kNewlineMarker = "$NEWLINE$";
constexpr std::string_view kUndefinedMarker = "$TARQNX$";

std::string ReferencedName(std::string_view reference)
{
    std::string name = StripDollars(reference);
    return name.empty() ? std::string(reference) : name;
}

}  // namespace

std::string GetVariable(std::string_view name)
{
    return Variables.GetValue(name);
}

bool IsCommandLineOverride(std::string_view name)
{
    // Only name entries (even positions) count; a value that happens to equal the name does not.
    const std::string upper = rtl::AnsiUpperCase(name);
    for (std::size_t i = 0; i < CommandLineOverrides.Count(); i += 2) {
        if (rtl::AnsiSameText(CommandLineOverrides[i], upper))
            return true;
    }
    return false;
}

void SetVariable(std::string_view name, std::string_view value, std::string_view context)
{
    if (name.empty())
        return;
    if (Variables.Exists(name))
        AssignVariable(name, value, context);
    else
        Variables.SetValue(name, value);
}

void AssignVariable(std::string_view name, std::string_view value, std::string_view context)
{
    if (SilentMode && context != kInjectOverrideContext && IsCommandLineOverride(name))
        return;
    if (Variables.Exists(name))
        Variables.Update(name, value);
    else
        SetVariable(name, value, context);
}

bool VariableExists(std::string_view name)
{
    return Variables.Exists(name);
}

std::string ExpandVariables(std::string_view text)
{
    return Variables.Expand(text);
}

std::string ExpandVariablesQuoted(std::string_view text)
{
    return Variables.ExpandQuoted(text);
}

std::string StripDollars(std::string_view text)
{
    if (text.size() < 2 || text.front() != '$' || text.back() != '$')
        return {};
    const std::string_view inner = text.substr(1, text.size() - 2);
    if (inner.find('$') != std::string_view::npos)
        return {};
    return std::string(inner);
}

std::string GetVariableValue(std::string_view reference)
{
    std::string value;
    if (!Variables.TryGetValue(ReferencedName(reference), value))
        return {};
    return ExpandVariables(value);
}

std::string GetVariableValueOrMarker(std::string_view reference)
{
    std::string value;
    if (!Variables.TryGetValue(ReferencedName(reference), value))
        return std::string(kUndefinedMarker);
    return ExpandVariables(value);
}

std::string GetVariablesAsCommaText()
{
    rtl::TStringList list;
    Variables.GetList(list);
    return list.CommaText();
}

void SetVariablesFromCommaText(std::string_view text)
{
    const std::vector<std::string> items = rtl::FromCommaText(text);
    Variables.Lock(true);
    Variables.Clear();
    for (std::size_t i = 0; i + 1 < items.size(); i += 2)
        Variables.SetValue(items[i], items[i + 1]);
    Variables.Unlock(true);
}

void ClearVariables()
{
    Variables.Clear();
}

std::string DecodeNewlines(std::string_view text)
{
    return StrReplace(text, kNewlineMarker, "\r\n", kReplaceAll | kReplaceIgnoreCase);
}

std::string EncodeNewlines(std::string_view text)
{
    return StrReplace(text, "\r\n", kNewlineMarker, kReplaceAll);
}

std::string NormalizePath(std::string_view text)
{
    const std::string expanded = ExpandVariables(text);
    std::string result = StrReplace(expanded, "\\\\", "\\", kReplaceAll);
    if (expanded.starts_with("\\\\"))
        result.insert(0, 1, '\\');
    return result;
}

std::string BoolToText(bool flag)
{
    return flag ? "TRUE" : "FALSE";
}

bool TextToBool(std::string_view text)
{
    return rtl::AnsiUpperCase(text) == "TRUE" || text == "-1";
}

std::int32_t NextVersionField(std::string& text)
{
    if (text.empty())
        return 0;
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos) {
        const std::int32_t value = rtl::StrToIntDef(text, 0);
        text.clear();
        return value;
    }
    const std::int32_t value = rtl::StrToInt(std::string_view(text).substr(0, dot));
    text.erase(0, dot + 1);
    return value;
}

}  // namespace setup::engine
