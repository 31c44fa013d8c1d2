#include "suite/recyclebin/text_format.h"

#include <gtest/gtest.h>

namespace trashwipe {
namespace {

TEST(FormatNumbers, FillsIntegerFieldsLeftToRight)
{
    const struct
    {
        std::wstring_view format;
        std::initializer_list<std::int64_t> numbers;
        std::wstring_view expected;
    } cases[] = {
        {L"Total progress (%d/%d)", {3, 20}, L"Total progress (3/20)"},
        {L"%d files, %I64u MB", {7, 5000000000}, L"7 files, 5000000000 MB"},
        {L"%llu KB", {12}, L"12 KB"},
        {L"100% done: %d", {4}, L"100% done: 4"},
        {L"no fields", {1, 2}, L"no fields"},
        {L"%d and %d", {9}, L"9 and %d"},
        {L"%s stays", {1}, L"%s stays"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumbers(c.format, c.numbers), c.expected)
            << std::string(c.format.begin(), c.format.end());
}

}  // namespace
}  // namespace trashwipe
