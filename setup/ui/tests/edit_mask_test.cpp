#include "setup/ui/edit_mask.h"

#include <gtest/gtest.h>

namespace setup::ui {
namespace {

TEST(EditMask, PlacesTypedCharactersIntoTheSlotsThatTakeThem)
{
    struct Case
    {
        const char* mask;
        const char* typed;
        const char* shown;
        bool complete;
    };
    const Case cases[] = {
        {"", "anything", "anything", true},
        {"000-000;1;_", "123456", "123-456", true},
        {"000-000;1;_", "123-456", "123-456", true},
        {"000-000;1;_", "12", "12_-___", false},
        {"000-000;1;_", "1a2b3c4", "123-4__", false},
        // Shown text typed again stays as it is.
        {"000-000;1;_", "12_-___", "12_-___", false},
        {">LL-999;0;*", "ab-12", "AB-12*", true},
        {"<LL", "XY", "xy", true},
        {"\\(999\\) 000;1; ", "55512", "(555) 12 ", false},
        {"aaa;1;_", "", "___", true},
        {"###", "-12", "-12", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ApplyEditMask(c.mask, c.typed), c.shown) << c.mask << " / " << c.typed;
        EXPECT_EQ(EditMaskComplete(c.mask, c.shown), c.complete) << c.mask << " / " << c.shown;
    }
}

TEST(EditMask, ReadsTheTrailingFields)
{
    const EditMask mask = ParseEditMask("00:00;0;#");
    EXPECT_FALSE(mask.saveLiterals);
    EXPECT_EQ(mask.blank, '#');
    ASSERT_EQ(mask.slots.size(), 5u);
    EXPECT_EQ(mask.slots[2].literal, ':');
    EXPECT_EQ(ParseEditMask("00").blank, '_');
}

}  // namespace
}  // namespace setup::ui
