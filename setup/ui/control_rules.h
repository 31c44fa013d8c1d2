// The rules that make a page's controls depend on each other without script code, one per line
// as the page designer writes them:
//   IF (ComboBox1.ItemIndex = 0)  THEN  Edit1.Enabled := False;
// Each compares a property's value text with a value and, when the comparison holds, sets a
// property of a control. Properties are found by name among the components the page owns.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "setup/forms/component.h"

namespace setup::ui {

struct ControlRule
{
    bool negated = false;  // " <> " rather than " = "
    std::string testControl;
    std::string testProperty;
    std::string testValue;
    std::string targetControl;
    std::string targetProperty;
    std::string targetValue;
};

// Splits a line at the separators the designer writes. A line written otherwise gives empty or
// shifted pieces rather than an error, and so a rule that changes nothing.
ControlRule ParseControlRule(std::string_view line);

// Evaluates the rules (the page's rule lines as comma text) in order, each seeing what the
// earlier ones set. A value a property cannot take raises EPropertyException.
void ApplyControlRules(forms::TComponent& page, std::string_view controlRules);

// "Control.Property" naming a property of a component of the page gives its value text; any
// other value is returned as it is.
std::string ResolvePropertyReference(forms::TComponent& page, const std::string& value);

// The value text of a published property of a component the page owns (names compared without
// regard to case); none when there is no such component or property. The page itself is not
// among the components.
std::optional<std::string> GetControlProperty(forms::TComponent& page, std::string_view control,
                                              std::string_view property);
// Sets the property from a text unless it already reads so; nothing happens for a component or
// property that does not exist.
void SetControlProperty(forms::TComponent& page, std::string_view control,
                        std::string_view property, std::string_view text);

}  // namespace setup::ui
