// The drawing decisions of the list view, the tree's custom draw and the image combo box.
#include <gtest/gtest.h>

#include "setup/ui/custom_draw.h"
#include "setup/ui/header_sort.h"
#include "setup/ui/image_combo.h"
#include "setup/ui/shell_list_columns.h"

namespace setup::ui::testing {
namespace {

TEST(CustomDraw, AnswersEachStageAsTheHandlerAsked)
{
    const TColor text = TColor(0x000000);
    const TColor back = TColor(0xFFFFFF);
    struct Case
    {
        std::uint32_t drawStage;
        bool itemNotify;
        bool clearFirst;
        bool recolourFont;
        bool skip;
        bool handled;
        std::uint32_t handlerResult;
        std::uint32_t expected;
        TColor expectedText;
    } cases[] = {
        // Prepaint asks for item notifications only in item-notify mode.
        {kDrawStagePrePaint, true, false, false, false, false, 0, kDrawNotifyItemDraw, text},
        {kDrawStagePrePaint, false, false, false, false, false, 0, 0, text},
        // A result the tree's handler wrote stands; the list view's is cleared.
        {kDrawStagePrePaint, true, false, false, false, true, 0x40, 0x40, text},
        {kDrawStagePrePaint, true, true, false, false, true, 0x40, 0, text},
        // An item in another colour gets the new font and its colour.
        {kDrawStageItem | kDrawStagePrePaint, true, true, true, false, false, 0, kDrawNewFont,
         clGrayText},
        {kDrawStageItem | kDrawStagePrePaint, true, true, false, false, false, 0, 0, text},
        // An item the handler drew itself skips the default drawing.
        {kDrawStageItem | kDrawStagePrePaint, true, true, true, true, false, 0, kDrawSkipDefault,
         text},
        {kDrawStageItem | kDrawStagePostPaint, true, true, true, false, false, 0, 0, text},
        {kDrawStagePostPaint, true, true, false, false, false, 0, 0, text},
    };
    TFont font;
    for (const Case& c : cases) {
        TNsCustomDraw draw(c.drawStage, font, text, back, c.itemNotify);
        if (c.recolourFont)
            draw.ItemFont().SetColor(clGrayText);
        draw.skipDefault = c.skip;
        draw.resultHandled = c.handled;
        draw.result = c.handlerResult;
        draw.Apply(c.clearFirst);
        EXPECT_EQ(draw.result, c.expected) << "stage " << c.drawStage;
        EXPECT_EQ(draw.TextColor(), c.expectedText) << "stage " << c.drawStage;
    }
}

TEST(CustomDraw, AFontTouchedButUnchangedIsNotSelected)
{
    TFont font;
    TNsCustomDraw draw(kDrawStageItem | kDrawStagePrePaint, font, TColor(0x123456),
                       TColor(0xFFFFFF), true);
    EXPECT_EQ(draw.ItemFont().Color(), TColor(0x123456));
    draw.ItemFont().SetColor(TColor(0x123456));
    draw.SetItemBrushColor(TColor(0x00FF00));
    draw.Apply(true);
    EXPECT_EQ(draw.result, 0u);
    EXPECT_EQ(draw.TextBackground(), TColor(0x00FF00));
}

TEST(HeaderSort, FormatsFollowTheModeAndTheCommonControlsVersion)
{
    struct Case
    {
        TNsLvHeaderSortDisplayMode mode;
        int version;
        bool sorted;
        bool ascending;
        std::uint32_t expected;
    } cases[] = {
        // Version 6 draws its own arrows right of the text, the other way round from ours.
        {ptlvRightOfText, 600, true, true, kHeaderRight | kHeaderString | kHeaderSortDown},
        {ptlvRightOfText, 600, true, false, kHeaderRight | kHeaderString | kHeaderSortUp},
        {ptlvRightOfText, 600, false, true, kHeaderRight | kHeaderString},
        // Older versions, and the other modes, leave the items to the control.
        {ptlvRightOfText, 581, true, true, kHeaderRight | kHeaderOwnerDraw},
        {ptlvLeftAlign, 600, true, true, kHeaderRight | kHeaderOwnerDraw},
        {ptlvRightAlign, 581, false, true, kHeaderRight | kHeaderOwnerDraw},
        {ptlvNone, 600, true, true, kHeaderRight | kHeaderString},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HeaderItemFormat(kHeaderRight | kHeaderSortUp | 0x20, c.sorted, c.ascending,
                                   c.mode, c.version),
                  c.expected)
            << c.mode << " " << c.version;
    EXPECT_EQ(AcceptedDisplayMode(ptlvLeftAlign, 400), ptlvNone);
    EXPECT_EQ(AcceptedDisplayMode(ptlvLeftAlign, 470), ptlvLeftAlign);
}

TEST(HeaderSort, TheArrowGoesWhereTheModeSaysAndOnlyWhereItFits)
{
    const TRect item{0, 0, 100, 20};
    // The caption box is the item less 2 pixels a side and 4 more left and right.
    HeaderItemLayout plain = LayOutHeaderItem(item, 30, 12, taLeftJustify, ptlvRightOfText, false);
    EXPECT_FALSE(plain.arrow);
    EXPECT_EQ(plain.text, (TRect{6, 2, 94, 18}));

    HeaderItemLayout left = LayOutHeaderItem(item, 30, 12, taLeftJustify, ptlvLeftAlign, true);
    ASSERT_TRUE(left.arrow);
    EXPECT_EQ(left.arrowBox.left, 6);
    EXPECT_EQ(left.text.left, left.arrowBox.right + 5);

    HeaderItemLayout after = LayOutHeaderItem(item, 30, 12, taLeftJustify, ptlvRightOfText, true);
    ASSERT_TRUE(after.arrow);
    EXPECT_EQ(after.arrowBox.left, 6 + 30 + 5);

    for (auto mode : {ptlvRightAlign, ptlvRightOfText}) {
        HeaderItemLayout right = LayOutHeaderItem(item, 30, 12, taRightJustify, mode, true);
        ASSERT_TRUE(right.arrow);
        EXPECT_EQ(right.arrowBox.right, 94);
        EXPECT_EQ(right.text.right, right.arrowBox.left - 4);
    }
    // A column narrower than two arrows shows none.
    EXPECT_FALSE(LayOutHeaderItem({0, 0, 12, 20}, 30, 12, taLeftJustify, ptlvRightAlign, true).arrow);
    EXPECT_FALSE(LayOutHeaderItem({0, 0, 15, 20}, 3, 6, taLeftJustify, ptlvLeftAlign, true).arrow);
}

TEST(ImageCombo, TheClosedBoxShowsItsEntryWithoutIndent)
{
    const TRect rect{0, 0, 200, 18};
    const ImageComboLayout listed = LayOutImageComboItem(rect, 12, 3, false, 16, 16, 40);
    EXPECT_EQ(listed.imageLeft, 2 + 36);
    EXPECT_EQ(listed.imageTop, 1);
    EXPECT_EQ(listed.textBox, (TRect{1 + 36 + 16 + 4, 0, 1 + 36 + 16 + 4 + 43, 18}));
    const ImageComboLayout closed = LayOutImageComboItem(rect, 12, 3, true, 16, 16, 40);
    EXPECT_EQ(closed.imageLeft, 2);
    EXPECT_EQ(LayOutImageComboItem(rect, 12, 1, false, 0, 0, 40).textBox.left, 1 + 12 + 4);
    EXPECT_EQ(ImageComboItemHeight(-11, 16), 16);
    EXPECT_EQ(ImageComboItemHeight(-16, 16), 18);
}

TEST(ShellListColumns, WidthsComeFromTheStoredLayoutAsFarAsItReaches)
{
    const std::vector<std::int32_t> defaults{200, 60, 100, 120};
    EXPECT_EQ(DirectoryColumnWidths(""), defaults);
    EXPECT_EQ(DirectoryColumnWidths(std::string("\x2C\x01\x50", 3)),
              (std::vector<std::int32_t>{300, 60, 100, 120}));
    std::string full(22, '\0');
    full[0] = 10;
    full[2] = 20;
    full[4] = 30;
    full[6] = 0x01;
    full[7] = 0x01;
    full[8] = 99;  // a fifth width is not a column here
    EXPECT_EQ(DirectoryColumnWidths(full), (std::vector<std::int32_t>{10, 20, 30, 257}));
    const auto columns = DefaultShellColumns(DirectoryColumnWidths(""));
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[1].caption, "Size");
    EXPECT_EQ(columns[1].alignment, taRightJustify);
}

TEST(ShellListColumns, SizesCountAPartialKilobyteAsOne)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0KB"},        {1, "1KB"},           {1024, "1KB"},
        {1025, "2KB"},     {1024 * 999, "999KB"}, {1024 * 1000 + 1, "1,001KB"},
        {5000000000ull, "4,882,813KB"},
    };
    for (const auto& [size, text] : cases)
        EXPECT_EQ(KiloBytesText(size), text) << size;
    EXPECT_EQ(DetailTexts({false, 0, "File Folder", "x"}),
              (std::vector<std::string>{"", "File Folder", "x"}));
}

}  // namespace
}  // namespace setup::ui::testing
