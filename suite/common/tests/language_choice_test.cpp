#include "suite/common/language_choice.h"
#include "suite/common/language_catalog.h"
#include "suite/common/language_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace suite {
namespace {

TEST(LanguageChoice, CurrentCodeThenFallbackThenFirst)
{
    struct Case
    {
        std::vector<std::wstring_view> codes;
        const wchar_t* current;
        int expected;
    };
    const Case cases[] = {
        {{L"DE", L"NTV", L"FR"}, L"fr", 2},
        {{L"DE", L"NTV", L"FR"}, L"SVE", 1},
        {{L"DE", L"FR"}, L"SVE", 0},
        {{L"DE", L"ntv", L"DE"}, L"de", 2},   // the last match wins
        {{L"NTV", L"X", L"Ntv"}, L"PLK", 2},  // for the fallback too
        {{}, L"DE", 0},
        {{L"DE", L"NTV"}, L"", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseLanguageIndex(c.codes, c.current), c.expected) << c.current;
}

TEST(LanguageChoice, IndexOutsideTheTableReadsEntryZero)
{
    struct Case
    {
        int requested;
        int count;
        int expected;
    };
    const Case cases[] = {{7, 3, 0}, {2, 3, 2}, {3, 3, 0}, {-1, 3, 0}, {-2000, 3, 0}, {0, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(EntryIndexFor(c.requested, c.count), c.expected) << c.requested;
}

TEST(LanguageChoice, FilledCountStaysWithinTheTable)
{
    EXPECT_EQ(ClampLanguageCount(3, 3), 3);
    EXPECT_EQ(ClampLanguageCount(2, 3), 2);
    EXPECT_EQ(ClampLanguageCount(9, 3), 3);
    EXPECT_EQ(ClampLanguageCount(-1, 3), 0);
}

TEST(LanguageCatalog, PatternGivesTheCodeOfEachFittingName)
{
    struct Case
    {
        const wchar_t* name;
        bool fits;
        const wchar_t* code;
    };
    const Case cases[] = {
        {L"LingotextUpdate_DE.dll", true, L"DE"},    {L"lingotextupdate_ntv.DLL", true, L"ntv"},
        {L"LingotextUpdate_.dll", true, L""},        {L"Lingotext_DE.dll", false, L""},
        {L"LingotextUpdate_DE.dll.bak", false, L""}, {L"LingotextUpdate.dll", false, L""},
    };
    for (const Case& c : cases) {
        std::wstring code;
        EXPECT_EQ(MatchLibraryPattern(L"LingotextUpdate_*.dll", c.name, code), c.fits) << c.name;
        if (c.fits) {
            EXPECT_EQ(code, c.code) << c.name;
        }
    }
}

TEST(LanguageCatalog, ListsInNameOrderAndLeavesOutWhatWouldNotFit)
{
    const std::wstring longFolder = L"C:\\" + std::wstring(480, L'f') + L"\\";
    const auto entries =
        ListLanguageLibraries(L"C:\\Suite\\", L"LingotextUpdate_*.dll",
                              {L"LingotextUpdate_NTV.dll", L"LingotextUpdate_DE.dll", L"readme.txt",
                               L"LingotextUpdate_LONGCODE.dll", L"LingotextUpdate_.dll"});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].code, L"DE");
    EXPECT_EQ(entries[0].path, L"C:\\Suite\\LingotextUpdate_DE.dll");
    EXPECT_EQ(entries[1].code, L"NTV");
    EXPECT_TRUE(
        ListLanguageLibraries(longFolder, L"LingotextUpdate_*.dll", {L"LingotextUpdate_DE.dll"})
            .empty());
}

TEST(LanguageCatalog, CopiesAreCutToTheBufferAndTerminated)
{
    wchar_t buffer[kCodeChars];
    CopyTerminated(buffer, kCodeChars, L"ABCDEFG");
    EXPECT_EQ(std::wstring(buffer), L"ABCD");
    CopyTerminated(buffer, kCodeChars, L"DE");
    EXPECT_EQ(std::wstring(buffer), L"DE");
}

}  // namespace
}  // namespace suite
