#include "suite/recyclebin/shred_choice.h"

#include <gtest/gtest.h>

namespace trashwipe {
namespace {

TEST(ShredChoice, StoredMethodPlacesTheButtonsAndEachButtonChoosesItsMethod)
{
    struct Case
    {
        ShredAlgorithmId stored;
        MethodButton initial;
        ShredAlgorithmId middle;
    };
    const Case cases[] = {
        {0, MethodButton::First, 12},  // offered by the first button: the middle one is 12
        {8, MethodButton::Last, 12},
        {5, MethodButton::Middle, 5},
        {12, MethodButton::Middle, 12},
        {-1, MethodButton::Middle, -1},  // an odd stored number is still what the middle offers
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InitialMethodButton(c.stored), c.initial) << c.stored;
        EXPECT_EQ(MiddleButtonAlgorithm(c.stored), c.middle) << c.stored;
        EXPECT_EQ(ChosenAlgorithm(MethodButton::First, c.stored), 0) << c.stored;
        EXPECT_EQ(ChosenAlgorithm(MethodButton::Middle, c.stored), c.middle) << c.stored;
        EXPECT_EQ(ChosenAlgorithm(MethodButton::Last, c.stored), 8) << c.stored;
    }
}

}  // namespace
}  // namespace trashwipe
