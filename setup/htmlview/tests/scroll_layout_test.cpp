#include <gtest/gtest.h>

#include <vector>

#include "setup/htmlview/viewer/scroll_layout.h"

namespace {

using namespace htmlview;

PaneGeometry Pane(int width, int height, ScrollStyle bars = ScrollStyle::Both, bool keep = false)
{
    PaneGeometry pane;
    pane.width = width;
    pane.height = height;
    pane.bars = bars;
    pane.keepVerticalBar = keep;
    return pane;
}

TEST(ScrollBars, ArrangementByDocumentSize)
{
    struct Case
    {
        const char* what;
        PaneGeometry pane;
        int docHeight, docWidth;
        bool horizontal, vertical, verticalEnabled;
        int paintWidth, paintHeight;
    };
    // A 300 x 200 pane with a border: 298 x 198 inside, bars 17 wide.
    const std::vector<Case> cases{
        {"exactly as high as the panel", Pane(300, 200), 198, 100, false, false, false, 298, 198},
        {"one pixel higher", Pane(300, 200), 199, 100, false, true, true, 281, 198},
        {"too wide only", Pane(300, 200), 50, 400, true, false, false, 298, 181},
        {"fits in both directions", Pane(300, 200), 190, 290, false, false, false, 298, 198},
        {"a bar's height short and too wide", Pane(300, 200), 190, 299, true, true, true, 281, 181},
        {"kept bar, short document", Pane(300, 200, ScrollStyle::Both, true), 20, 100, false, true,
         false, 281, 198},
        {"no bars at all", Pane(300, 200, ScrollStyle::None), 5000, 5000, false, false, false, 298,
         198},
        {"horizontal only", Pane(300, 200, ScrollStyle::Horizontal), 5000, 5000, true, false, false,
         298, 181},
    };
    for (const Case& c : cases) {
        int width = c.docWidth;
        const BarArrangement bars = ArrangeScrollBars(c.pane, c.docHeight, width);
        EXPECT_EQ(bars.horizontal, c.horizontal) << c.what;
        EXPECT_EQ(bars.vertical, c.vertical) << c.what;
        EXPECT_EQ(bars.verticalEnabled, c.verticalEnabled) << c.what;
        EXPECT_EQ(bars.paintWidth, c.paintWidth) << c.what;
        EXPECT_EQ(bars.paintHeight, c.paintHeight) << c.what;
        EXPECT_EQ(bars.verticalPage, bars.paintHeight + 1) << c.what;
        EXPECT_EQ(bars.verticalMax, c.docHeight) << c.what;
        EXPECT_LE(width, kMaxDocumentWidth) << c.what;
    }
}

TEST(ScrollBars, FormattingTriesTheNarrowerWidthOnlyWhenABarIsNeeded)
{
    struct Case
    {
        const char* what;
        PaneGeometry pane;
        std::size_t sourceLength;
        int heightAtFull, heightNarrow;
        std::vector<int> widths;
    };
    const std::vector<Case> cases{
        {"fits", Pane(300, 200), 100, 150, 170, {298}},
        {"needs a bar", Pane(300, 200), 100, 400, 420, {298, 281}},
        {"fits again when narrower is measured", Pane(300, 200), 100, 199, 100, {298, 281, 298}},
        {"long source: once, narrow", Pane(300, 200), 10000, 150, 170, {281}},
        {"kept bar: once, narrow", Pane(300, 200, ScrollStyle::Both, true), 10, 150, 170, {281}},
        {"no vertical bars", Pane(300, 200, ScrollStyle::Horizontal), 10, 900, 900, {298}},
    };
    for (const Case& c : cases) {
        std::vector<int> widths;
        int docWidth = 0;
        FormatPasses(
            c.pane, c.sourceLength,
            [&](int width, int& widest) {
                widths.push_back(width);
                widest = 100;
                return width == 298 ? c.heightAtFull : c.heightNarrow;
            },
            docWidth);
        EXPECT_EQ(widths, c.widths) << c.what;
    }
}

TEST(ScrollPositions, ClampWheelAndKeys)
{
    EXPECT_EQ(ClampScroll(-5, 1000, 200), 0);
    EXPECT_EQ(ClampScroll(900, 1000, 200), 800);
    EXPECT_EQ(ClampScroll(50, 100, 200), 0);  // a short document stays at the top
    // 120 up with three lines scrolls up 48 pixels; no wheel lines: half the delta.
    EXPECT_EQ(WheelScrollTarget(100, 120, 3), 52);
    EXPECT_EQ(WheelScrollTarget(100, -120, 3), 148);
    EXPECT_EQ(WheelScrollTarget(100, -120, 0), 160);
    EXPECT_EQ(WheelScrollTarget(100, 7, -1), 97);
    EXPECT_EQ(KeyScrollTarget(ScrollKey::PageDown, 100, 180, 1000), 280);
    EXPECT_EQ(KeyScrollTarget(ScrollKey::Up, 100, 180, 1000), 84);
    EXPECT_EQ(KeyScrollTarget(ScrollKey::End, 100, 180, 1000), 1000);
    EXPECT_EQ(KeyScrollTarget(ScrollKey::Home, 100, 180, 1000), 0);
}

}  // namespace
