#include "standins/archive/entry_names.h"

#include <gtest/gtest.h>

namespace standins::archive {
namespace {

TEST(EntryNames, KeepsEveryWriteInsideTheTarget)
{
    struct Case
    {
        std::u16string name;
        bool safe;
    };
    const std::vector<Case> cases = {
        {u"readme.txt", true},
        {u"docs\\deeper\\program.exe", true},
        {u"docs/deeper/program.exe", true},
        {u"a..b\\c.d", true},
        {u"..hidden", true},
        {u"\u00dcnic\u00f6de-\u00e9.txt", true},
        {u"console.txt", true},
        {u"com10", true},
        {u"", false},
        {u"..", false},
        {u"..\\evil.txt", false},
        {u"../evil.txt", false},
        {u"docs\\..\\..\\evil.txt", false},
        {u"docs\\..", false},
        {u".\\file", false},
        {u"...\\evil.txt", false},
        {u".. \\evil.txt", false},
        {u"\\windows\\evil.dll", false},
        {u"/etc/passwd", false},
        {u"\\\\server\\share\\evil.txt", false},
        {u"//server/share/evil.txt", false},
        {u"\\\\?\\C:\\evil.txt", false},
        {u"C:\\evil.txt", false},
        {u"C:evil.txt", false},
        {u"file.txt:stream", false},
        {u"docs\\\\twice", false},
        {u"docs\\", false},
        {u"NUL", false},
        {u"docs\\con.txt", false},
        {u"lpt1", false},
        {u"Com3 .log", false},
        {u"tab\there", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSafeEntryName(c.name), c.safe) << std::string(c.name.begin(), c.name.end());
    }
}

TEST(EntryNames, BareNameIsTheLastComponent)
{
    EXPECT_TRUE(BareName(u"docs\\deeper\\program.exe") == u"program.exe");
    EXPECT_TRUE(BareName(u"docs/noise.bin") == u"noise.bin");
    EXPECT_TRUE(BareName(u"readme.txt") == u"readme.txt");
}

TEST(EntryNames, SelectsListedNamesIgnoringCaseAndSeparators)
{
    const std::vector<std::string> names = {"docs", "docs\\a.txt", "B.TXT", "b.txt", "c.txt"};
    struct Case
    {
        std::vector<std::string> wanted;
        std::size_t missing;
        std::vector<bool> selected;
    };
    const std::vector<Case> cases = {
        {{}, std::string::npos, {false, false, false, false, false}},
        {{"docs/A.TXT"}, std::string::npos, {false, true, false, false, false}},
        // Names that differ only in case are both taken.
        {{"b.txt", "docs"}, std::string::npos, {true, false, true, true, false}},
        {{"c.txt", "d.txt"}, 1, {}},
        {{"docs\\"}, 0, {}},
    };
    for (const Case& c : cases) {
        std::vector<bool> selected;
        const std::size_t missing = SelectEntries(names, c.wanted, selected);
        EXPECT_EQ(missing, c.missing);
        if (missing == std::string::npos) {
            EXPECT_EQ(selected, c.selected);
        }
    }
}

}  // namespace
}  // namespace standins::archive
