#include "setup/engine/script/variables.h"

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/fast_strings.h"

namespace setup::engine {

namespace {

constexpr std::string_view kNewlineMarker = "$NEWLINE$";
constexpr std::string_view kUndefinedMarker = "$TARQNX$";

std::string ReferencedName(std::string_view reference)
{
    std::string name = StripDollars(reference);
    return name.empty() ? std::string(reference) : name;
}

}  // namespace

std::string ScriptVariables::Get(std::string_view name) const
{
    return m_store.GetValue(name);
}

bool ScriptVariables::IsCommandLineOverride(std::string_view name) const
{
    // Only name entries (even positions) count; a value that happens to equal the name does not.
    const std::string upper = rtl::AnsiUpperCase(name);
    for (std::size_t i = 0; i < CommandLineOverrides.Count(); i += 2) {
        if (rtl::AnsiSameText(CommandLineOverrides[i], upper))
            return true;
    }
    return false;
}

void ScriptVariables::Set(std::string_view name, std::string_view value, std::string_view context)
{
    if (name.empty())
        return;
    if (m_store.Exists(name))
        Assign(name, value, context);
    else
        m_store.SetValue(name, value);
}

void ScriptVariables::Assign(std::string_view name, std::string_view value,
                             std::string_view context)
{
    if (SilentMode && context != kInjectOverrideContext && IsCommandLineOverride(name))
        return;
    if (m_store.Exists(name))
        m_store.Update(name, value);
    else
        Set(name, value, context);
}

bool ScriptVariables::Exists(std::string_view name) const
{
    return m_store.Exists(name);
}

std::string ScriptVariables::Expand(std::string_view text) const
{
    return m_store.Expand(text);
}

std::string ScriptVariables::ExpandQuoted(std::string_view text) const
{
    return m_store.ExpandQuoted(text);
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

std::string ScriptVariables::ValueOf(std::string_view reference) const
{
    std::string value;
    if (!m_store.TryGetValue(ReferencedName(reference), value))
        return {};
    return Expand(value);
}

std::string ScriptVariables::ValueOrMarker(std::string_view reference) const
{
    std::string value;
    if (!m_store.TryGetValue(ReferencedName(reference), value))
        return std::string(kUndefinedMarker);
    return Expand(value);
}

std::string ScriptVariables::AsCommaText() const
{
    rtl::TStringList list;
    m_store.GetList(list);
    return list.CommaText();
}

void ScriptVariables::SetFromCommaText(std::string_view text)
{
    const std::vector<std::string> items = rtl::FromCommaText(text);
    m_store.Lock(true);
    m_store.Clear();
    for (std::size_t i = 0; i + 1 < items.size(); i += 2)
        m_store.SetValue(items[i], items[i + 1]);
    m_store.Unlock(true);
}

void ScriptVariables::Clear()
{
    m_store.Clear();
}

std::string DecodeNewlines(std::string_view text)
{
    return StrReplace(text, kNewlineMarker, "\r\n", kReplaceAll | kReplaceIgnoreCase);
}

std::string EncodeNewlines(std::string_view text)
{
    return StrReplace(text, "\r\n", kNewlineMarker, kReplaceAll);
}

std::string ScriptVariables::NormalizePath(std::string_view text) const
{
    const std::string expanded = Expand(text);
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
