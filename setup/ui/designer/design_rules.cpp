#include "setup/ui/designer/design_rules.h"

#include "setup/ui/control.h"
#include "setup/ui/form.h"

namespace setup::ui {
namespace {

bool Listed(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& entry : names)
        if (forms::SameName(entry, name))
            return true;
    return false;
}

bool Matches(const NameRule& rule, const forms::TComponent* component, const TCustomForm* form)
{
    if (IsInNameList(rule.names, component))
        return true;
    const auto* control = dynamic_cast<const TControl*>(component);
    if (!control || rule.children == cmNone)
        return false;
    for (const TWinControl* parent = control->Parent(); parent && parent != form;
         parent = parent->Parent()) {
        if (IsInNameList(rule.names, parent))
            return true;
        if (rule.children == cmNormal)
            break;
    }
    return false;
}

}  // namespace

bool IsInNameList(const std::vector<std::string>& names, const forms::TComponent* component)
{
    if (!component)
        return false;
    std::string qualified = component->Name();
    if (Listed(names, qualified))
        return true;
    for (const forms::TComponent* owner = component->Owner(); owner; owner = owner->Owner()) {
        qualified = owner->Name() + "." + qualified;
        if (Listed(names, qualified))
            return true;
    }
    return false;
}

bool RuleHolds(const NameRule& rule, const forms::TComponent* component, const TCustomForm* form)
{
    if (!component)
        return false;
    if (component == form)
        return true;
    return Matches(rule, component, form) != rule.inverse;
}

bool ProtectionHolds(const NameRule& rule, const forms::TComponent* component,
                     const TCustomForm* form, const TWinControl* designControl)
{
    if (!component)
        return false;
    const auto* control = dynamic_cast<const TControl*>(component);
    if (designControl) {
        for (const TWinControl* parent = control ? control->Parent() : nullptr; parent;
             parent = parent->Parent())
            if (parent == designControl)
                return false;
        return true;
    }
    const forms::TComponent* owned = component;
    while (owned && owned->Owner() != form) {
        const auto* ownedControl = dynamic_cast<const TControl*>(owned);
        owned = ownedControl ? ownedControl->Parent() : nullptr;
    }
    if (!owned || owned == form)
        return true;
    return Matches(rule, owned, form) != rule.inverse;
}

}  // namespace setup::ui
