// Which items the context menu gets for the shared commands: straight into Explorer's menu when
// there is one, else in a submenu titled with the product name; every item with its identifier.
#pragma once

#include "suite/shellmenu/menu_configuration.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace shellmenu {

struct PlannedItem
{
    std::uint32_t id;
    const MenuEntry* entry;
};

struct MenuPlan
{
    std::vector<PlannedItem> items;        // in menu order
    std::optional<std::uint32_t> submenu;  // the submenu item's identifier, when there is one
    // What QueryContextMenu reports: the commands plus the submenu item.
    std::uint32_t IdentifiersUsed() const
    {
        return static_cast<std::uint32_t>(items.size()) + (submenu ? 1u : 0u);
    }
};

// Identifiers run from firstId and stop before passing lastId. A request for the default item only
// gets nothing.
MenuPlan PlanMenu(const CommandList& shared, std::uint32_t firstId, std::uint32_t lastId,
                  bool defaultOnly);

}  // namespace shellmenu
