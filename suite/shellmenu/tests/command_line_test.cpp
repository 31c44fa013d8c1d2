#include "suite/shellmenu/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace shellmenu {
namespace {

TEST(CommandLine, QuotesEveryPathSoTheStandardRulesGiveItBack)
{
    struct Case
    {
        std::wstring path;
        std::wstring quoted;
    };
    const Case cases[] = {
        {L"C:\\a b\\c.txt", L"\"C:\\a b\\c.txt\" "},
        {L"C:\\", L"\"C:\\\\\" "},
        {L"\\\\server\\share\\", L"\"\\\\server\\share\\\\\" "},
        {L"say \"hi\".txt", L"\"say \\\"hi\\\".txt\" "},
        {L"C:\\x\\\"q", L"\"C:\\x\\\\\\\"q\" "},
        {L"", L"\"\" "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuotedPath(c.path), c.quoted) << c.path;
}

TEST(CommandLine, PathsInPlaceOfTheFirstPlaceholder)
{
    const std::vector<std::wstring> two{L"C:\\a b.txt", L"C:\\c.txt"};
    struct Case
    {
        std::wstring command;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"W.exe /s %1", L"W.exe /s \"C:\\a b.txt\" \"C:\\c.txt\" "},
        {L"W.exe %1 /then %1", L"W.exe \"C:\\a b.txt\" \"C:\\c.txt\"  /then %1"},
        {L"W.exe /r", L"W.exe /r"},
        {L"%1", L"\"C:\\a b.txt\" \"C:\\c.txt\" "},
        {L"%", L"%"},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildCommandLine(c.command, two), c.expected) << c.command;
}

TEST(CommandLine, LeavesOutThePathsPastTheLimit)
{
    const std::wstring command = L"W.exe /s %1";  // 11 characters
    // Each path takes its length plus 3 (two quotes and a space).
    const std::wstring fits(kCommandLineLimit - command.size() - 3 - 10, L'a');
    struct Case
    {
        const char* name;
        std::vector<std::wstring> paths;
        std::size_t kept;
    };
    const Case cases[] = {
        {"exactly at the limit", {fits, std::wstring(7, L'b')}, 2},
        {"one over the limit", {fits, std::wstring(8, L'b')}, 1},
        {"a later short path is not squeezed in", {fits, std::wstring(20, L'b'), L"c"}, 1},
        {"a first path over the limit leaves none", {std::wstring(kCommandLineLimit, L'a')}, 0},
        // Escaping counts: seven backslashes before the closing quote are written as fourteen.
        {"escaped length decides", {fits, L"\\\\\\\\\\\\\\"}, 1},
    };
    for (const Case& c : cases) {
        std::wstring expected;
        for (std::size_t i = 0; i < c.kept; ++i)
            expected += QuotedPath(c.paths[i]);
        EXPECT_EQ(PathsText(command, c.paths), expected) << c.name;
        const std::wstring line = BuildCommandLine(command, c.paths);
        EXPECT_LE(line.size(), kCommandLineLimit) << c.name;
        EXPECT_EQ(line, L"W.exe /s " + expected) << c.name;
    }
}

}  // namespace
}  // namespace shellmenu
