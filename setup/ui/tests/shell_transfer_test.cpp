#include "setup/ui/shell_transfer.h"

#include <gtest/gtest.h>

namespace setup::ui::testing {
namespace {

IdList Chain(std::initializer_list<const char*> names)
{
    IdList list;
    for (const char* name : names)
        list = ConcatIdLists(list, MakeIdItem(name));
    return list.empty() ? DesktopIdList() : list;
}

TEST(ShellTransfer, IdListArraysReadBackAsBuilt)
{
    const IdListArray cases[] = {
        {Chain({"My Computer", "C:"}), {Chain({"notes.txt"}), Chain({"Beta"})}},
        {DesktopIdList(), {Chain({"My Computer"})}},
        {Chain({"My Computer"}), {}},
    };
    for (const IdListArray& array : cases) {
        const std::string block = BuildIdListArray(array);
        const auto read = ParseIdListArray(block);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->parent, array.parent);
        EXPECT_EQ(read->items, array.items);
    }
    // The layout: count, then offsets from the block's start, the parent first.
    const std::string block = BuildIdListArray(cases[0]);
    EXPECT_EQ(block.substr(0, 8), std::string("\x02\0\0\0\x10\0\0\0", 8));
}

TEST(ShellTransfer, ForeignArraysThatLieAboutTheirSizeAreRefused)
{
    const std::string good = BuildIdListArray({Chain({"C:"}), {Chain({"a"}), Chain({"b"})}});
    std::string countPastEnd = good;
    countPastEnd[3] = 0x40;
    std::string offsetPastEnd = good;
    offsetPastEnd[8] = static_cast<char>(good.size() + 1);
    const std::string cases[] = {
        "",
        good.substr(0, 7),
        countPastEnd,
        offsetPastEnd,
        good.substr(0, good.size() - 1),
        good.substr(0, good.size() - 2),
    };
    for (const std::string& block : cases)
        EXPECT_FALSE(ParseIdListArray(block).has_value()) << block.size();
}

TEST(ShellTransfer, DropFilesCarryWideNamesOfAnyLength)
{
    const std::u16string longName(400, u'x');
    const std::string block = BuildDropFiles({u"C:\\\u03A9mega", longName});
    // The header: list offset 20, no point, not the client area, wide names.
    EXPECT_EQ(block.substr(0, 20), std::string("\x14\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x01\0\0\0", 20));
    EXPECT_EQ(block.size(), 20 + 2 * (8 + 1) + 2 * (400 + 1) + 2);
    EXPECT_EQ(block.substr(26, 2), std::string("\xA9\x03", 2));
    EXPECT_EQ(block.substr(block.size() - 4), std::string(4, '\0'));
}

TEST(ShellTransfer, ADragGoesOnWhileItsButtonIsHeld)
{
    struct Case
    {
        bool escape;
        std::uint32_t keys;
        std::uint32_t button;
        DragAnswer answer;
    };
    const Case cases[] = {
        {false, kKeyLeftButton, kKeyLeftButton, DragAnswer::Continue},
        {false, 0, kKeyLeftButton, DragAnswer::Drop},
        {true, kKeyLeftButton, kKeyLeftButton, DragAnswer::Cancel},
        {false, kKeyLeftButton | kKeyRightButton, kKeyLeftButton, DragAnswer::Cancel},
        {false, kKeyRightButton | 4 /* Shift */, kKeyRightButton, DragAnswer::Continue},
        {false, kKeyMiddleButton, kKeyRightButton, DragAnswer::Cancel},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContinueDrag(c.escape, c.keys, c.button), c.answer) << c.keys;
}

}  // namespace
}  // namespace setup::ui::testing
