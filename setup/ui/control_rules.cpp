#include "setup/ui/control_rules.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/forms/property_interface.h"

namespace setup::ui {
namespace {

// The text before the separator's first occurrence, taken off the front of `rest` with the
// separator. A missing separator gives an empty piece and still takes its length.
std::string TakePiece(std::string& rest, std::string_view separator)
{
    const std::size_t at = rest.find(separator);
    std::string piece = at == std::string::npos ? std::string() : rest.substr(0, at);
    rest.erase(0, std::min(rest.size(), piece.size() + separator.size()));
    return piece;
}

forms::TComponent* FindControl(const forms::TComponent& page, std::string_view name)
{
    for (std::size_t i = 0; i < page.ComponentCount(); ++i)
        if (forms::SameName(page.Component(i)->Name(), name))
            return page.Component(i);
    return nullptr;
}

// Runs `use` on the control's property of that name, through a property interface made for it.
template <class Use>
bool WithProperty(forms::TComponent& page, std::string_view control, std::string_view property,
                  const Use& use)
{
    forms::TComponent* component = FindControl(page, control);
    if (!component)
        return false;
    forms::TPropertyInterface properties(nullptr);
    // Component and handler names belong to the page, as the page's file gave them.
    properties.SetRoot(&page);
    properties.SetInstance(component);
    for (std::size_t i = 0; i < properties.GetPropertyCount(); ++i) {
        forms::TProperty* item = properties.GetProperty(i);
        if (forms::SameName(item->GetName(), property)) {
            use(*item);
            return true;
        }
    }
    return false;
}

}  // namespace

ControlRule ParseControlRule(std::string_view line)
{
    std::string rest(line);
    rest.erase(0, std::min<std::size_t>(rest.size(), 4));  // "IF ("
    ControlRule rule;
    rule.negated = rest.find(" <> ") != std::string::npos;
    rule.testControl = TakePiece(rest, ".");
    rule.testProperty = TakePiece(rest, rule.negated ? " <> " : " = ");
    rule.testValue = TakePiece(rest, ")  THEN  ");
    rule.targetControl = TakePiece(rest, ".");
    rule.targetProperty = TakePiece(rest, " := ");
    rule.targetValue = TakePiece(rest, ";");
    return rule;
}

void ApplyControlRules(forms::TComponent& page, std::string_view controlRules)
{
    for (const std::string& line : rtl::FromCommaText(controlRules)) {
        const ControlRule rule = ParseControlRule(line);
        const std::string testValue = ResolvePropertyReference(page, rule.testValue);
        const std::string current =
            GetControlProperty(page, rule.testControl, rule.testProperty).value_or("");
        if ((current == testValue) == rule.negated)
            continue;
        SetControlProperty(page, rule.targetControl, rule.targetProperty,
                           ResolvePropertyReference(page, rule.targetValue));
    }
}

std::string ResolvePropertyReference(forms::TComponent& page, const std::string& value)
{
    const std::size_t dot = value.find('.');
    if (dot == std::string::npos)
        return value;
    try {
        return GetControlProperty(page, std::string_view(value).substr(0, dot),
                                  std::string_view(value).substr(dot + 1))
            .value_or(value);
    } catch (const std::exception&) {
        return value;
    }
}

std::optional<std::string> GetControlProperty(forms::TComponent& page, std::string_view control,
                                              std::string_view property)
{
    std::optional<std::string> text;
    WithProperty(page, control, property,
                 [&](const forms::TProperty& item) { text = item.GetValueText(); });
    return text;
}

void SetControlProperty(forms::TComponent& page, std::string_view control,
                        std::string_view property, std::string_view text)
{
    WithProperty(page, control, property, [&](forms::TProperty& item) { item.SetValueText(text); });
}

}  // namespace setup::ui
