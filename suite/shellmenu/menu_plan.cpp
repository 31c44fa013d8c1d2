#include "suite/shellmenu/menu_plan.h"

namespace shellmenu {

MenuPlan PlanMenu(const CommandList& shared, std::uint32_t firstId, std::uint32_t lastId,
                  bool defaultOnly)
{
    MenuPlan plan;
    if (defaultOnly || shared.empty())
        return plan;
    std::uint32_t next = firstId;
    for (const MenuEntry* entry : shared) {
        if (next > lastId)
            break;
        plan.items.push_back({next, entry});
        ++next;
    }
    if (shared.size() > 1)
        plan.submenu = next;
    return plan;
}

}  // namespace shellmenu
