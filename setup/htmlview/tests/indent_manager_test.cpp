#include "setup/htmlview/util/indent_manager.h"

#include <gtest/gtest.h>

namespace {

using htmlview::IndentManager;

TEST(IndentManager, FloatsNarrowTheLinesBesideThem)
{
    IndentManager indents;
    indents.Reset(10, 500);
    indents.SetLeftBottom(indents.AddLeft(100, 0), 50);
    indents.SetLeftBottom(indents.AddLeft(60, 0), 80);
    indents.SetRightBottom(indents.AddRight(400, 20), 40);
    int owner = 0;
    indents.currentOwner = &owner;
    const std::size_t owned = indents.AddLeft(300, 0);  // open downwards, of one block only
    indents.currentOwner = nullptr;

    struct Case
    {
        int y, left, right;
    };
    const Case cases[] = {{0, 110, 500},  {20, 110, 410}, {39, 110, 410},
                          {40, 110, 500}, {50, 70, 500},  {80, 10, 500}};
    for (const Case& c : cases) {
        EXPECT_EQ(indents.LeftEdge(c.y), c.left) << c.y;
        EXPECT_EQ(indents.RightEdge(c.y), c.right) << c.y;
    }
    indents.currentOwner = &owner;
    EXPECT_EQ(indents.LeftEdge(500), 310);  // the owner sees its own float
    indents.currentOwner = nullptr;

    EXPECT_EQ(indents.FloatBottom(), 80);
    EXPECT_EQ(indents.ClearPositions(), std::make_pair(81, 41));
    EXPECT_EQ(indents.NextWiderY(0), 40);
    EXPECT_EQ(indents.NextWiderY(45), 50);
    EXPECT_EQ(indents.NextWiderY(80), 80);

    indents.DeleteLeft(owned);
    indents.DeleteLeft(99);
    indents.Clear();
    EXPECT_EQ(indents.LeftEdge(0), 10);
    EXPECT_EQ(indents.ClearPositions(), std::make_pair(0, 0));
}

}  // namespace
