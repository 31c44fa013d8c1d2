#include "support/language/text_table.h"

#include <gtest/gtest.h>

#include <string>

namespace language {
namespace {

// A key standing twice, a key written in mixed case and a row whose key cell is empty.
constexpr LanguageRow kFixture[] = {
    {L"OK-button", L"OK"},
    {L"Twice", L"first"},
    {L"twice", L"second"},
    {L"", L"only text"},
};

TEST(TextTable, FindsFirstRowByTheKeyRulesOfEachMatch)
{
    struct Case
    {
        std::wstring key;
        KeyMatch match;
        std::optional<std::size_t> row;
    };
    const Case cases[] = {
        {L"OK-button", KeyMatch::Exact, 0},
        {L"ok-BUTTON", KeyMatch::IgnoreCase, 0},
        {L"ok-button", KeyMatch::Exact, std::nullopt},
        {L"twice", KeyMatch::IgnoreCase, 1},  // the first of two rows, though the second is exact
        {L"twice", KeyMatch::Exact, 2},
        {L"OK-butto", KeyMatch::IgnoreCase, std::nullopt},
        {L"OK-button ", KeyMatch::IgnoreCase, std::nullopt},
        {L"\u00d6K-button", KeyMatch::IgnoreCase, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindRow(kFixture, c.key, c.match), c.row)
            << std::string(c.key.begin(), c.key.end());
}

TEST(TextTable, ResolvesCellsWithFallbackToTheTextColumn)
{
    struct Case
    {
        std::size_t row;
        int column;
        std::optional<std::wstring> text;
    };
    const Case cases[] = {
        {0, 0, L"OK-button"},
        {0, 1, L"OK"},
        {3, 0, L"only text"},  // empty key cell gives way to the text
        {3, 1, L"only text"},
        {0, 2, std::nullopt},
        {0, -1, std::nullopt},
        {4, 1, std::nullopt},
        {static_cast<std::size_t>(-1), 1, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto cell = ResolveCell(kFixture, c.row, c.column);
        ASSERT_EQ(cell.has_value(), c.text.has_value()) << c.row << "," << c.column;
        if (cell) {
            EXPECT_EQ(CellText(kFixture, *cell), *c.text);
        }
    }
}

TEST(TextTable, BitmapIdsCountLanguageHundredsAndCompareWithCase)
{
    constexpr BitmapName names[] = {{L"first", 1}, {L"ninth", 9}, {L"ninth", 4}};
    EXPECT_EQ(BitmapId(names, 1, L"ninth"), 109);
    EXPECT_EQ(BitmapId(names, 2, L"first"), 201);
    EXPECT_EQ(BitmapId(names, 0, L"first"), 1);
    EXPECT_EQ(BitmapId(names, 1, L"Ninth"), -1);
    EXPECT_EQ(BitmapId(names, 1, L""), -1);
    // No signed overflow for absurd language numbers.
    EXPECT_EQ(BitmapId(names, 0x7fffffff, L"first"), static_cast<int>(0x7fffffffu * 100u + 1u));
}

TEST(TextTable, IgnoreCaseFoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(EqualsIgnoreCase(L"Deutsch (German)", L"DEUTSCH (german)"));
    EXPECT_FALSE(EqualsIgnoreCase(L"Deutsch", L"Deutsc"));
    EXPECT_FALSE(EqualsIgnoreCase(L"[", L"{"));  // '[' + 32 is '{': not letters
    EXPECT_FALSE(EqualsIgnoreCase(L"@", L"`"));
}

}  // namespace
}  // namespace language
