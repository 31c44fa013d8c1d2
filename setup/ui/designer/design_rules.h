// The designer's three name rules (locked, transparent, protected): a control falls under a
// rule when its name, or its name qualified by its owners' names, is in the rule's list, with
// the children mode saying how far a listed parent reaches and the inverse flag turning it round.
#pragma once

#include <string>
#include <vector>

#include "setup/forms/component.h"

namespace setup::ui {

class TControl;
class TWinControl;
class TCustomForm;

enum TChildrenMode
{
    cmNone,
    cmNormal,
    cmRecurse,
};

struct NameRule
{
    std::vector<std::string> names;
    bool inverse = false;
    TChildrenMode children = cmNone;
};

// The name, then "Owner.Name", "OwnersOwner.Owner.Name" and so on, letter case ignored.
bool IsInNameList(const std::vector<std::string>& names, const forms::TComponent* component);

// Locked and transparent: the form itself always falls under the rule.
bool RuleHolds(const NameRule& rule, const forms::TComponent* component, const TCustomForm* form);
// Protected: with a design control, everything outside it; otherwise the nearest of the control
// and its parents that the form owns decides, and none (or the form itself) is protected.
bool ProtectionHolds(const NameRule& rule, const forms::TComponent* component,
                     const TCustomForm* form, const TWinControl* designControl);

}  // namespace setup::ui
