#include "suite/shellmenu/menu_plan.h"
#include "suite/shellmenu/command_string.h"

#include <gtest/gtest.h>

namespace shellmenu {
namespace {

TEST(MenuPlan, ItemsIdentifiersAndSubmenu)
{
    const MenuEntry a{L"a", L"A", L"a %1"}, b{L"b", L"B", L"b %1"}, c{L"c", L"C", L"c %1"};
    struct Case
    {
        const char* name;
        CommandList shared;
        std::uint32_t first, last;
        bool defaultOnly;
        std::vector<std::uint32_t> ids;
        std::optional<std::uint32_t> submenu;
        std::uint32_t used;
    };
    const Case cases[] = {
        {"nothing shared", {}, 100, 200, false, {}, std::nullopt, 0},
        {"one command goes inline", {&a}, 100, 200, false, {100}, std::nullopt, 1},
        {"two commands get a submenu", {&a, &b}, 100, 200, false, {100, 101}, 102, 3},
        {"default only", {&a, &b}, 100, 200, true, {}, std::nullopt, 0},
        {"identifiers run out", {&a, &b, &c}, 100, 101, false, {100, 101}, 102, 3},
        {"the last identifier is usable", {&a}, 7, 7, false, {7}, std::nullopt, 1},
    };
    for (const Case& k : cases) {
        const MenuPlan plan = PlanMenu(k.shared, k.first, k.last, k.defaultOnly);
        std::vector<std::uint32_t> ids;
        for (std::size_t i = 0; i < plan.items.size(); ++i) {
            ids.push_back(plan.items[i].id);
            EXPECT_EQ(plan.items[i].entry, k.shared[i]) << k.name;
        }
        EXPECT_EQ(ids, k.ids) << k.name;
        EXPECT_EQ(plan.submenu, k.submenu) << k.name;
        EXPECT_EQ(plan.IdentifiersUsed(), k.used) << k.name;
    }
}

TEST(CommandStringReply, ByRequestType)
{
    struct Case
    {
        std::uint32_t type;
        CommandStringReply reply;
    };
    const Case cases[] = {
        {kVerbA, CommandStringReply::Refuse},     {kHelpTextA, CommandStringReply::Ansi},
        {kValidateA, CommandStringReply::Refuse}, {kVerbW, CommandStringReply::Wide},
        {kHelpTextW, CommandStringReply::Wide},   {kValidateW, CommandStringReply::Confirm},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplyFor(c.type), c.reply) << c.type;
}

}  // namespace
}  // namespace shellmenu
