#include <gtest/gtest.h>

#include <string>

#include "setup/engine/statements/launch_plan.h"

namespace setup::engine {
namespace {

using namespace std::string_literals;

TEST(LaunchPlan, EnvironmentBlockFromLines)
{
    struct Case
    {
        std::string text;
        std::string block;
    };
    const Case cases[] = {
        {"", ""},
        {"A=1", "A=1\0\0"s},
        {"A=1\r\nB=2", "A=1\0B=2\0\0"s},
        {"A=1\r\nB=2\r\n", "A=1\0B=2\0\0"s},
        // An empty line would end the block there and lose B.
        {"A=1\r\n\r\nB=2", "A=1\0B=2\0\0"s},
        {"\r\n", ""},
        // Only CR LF separates entries.
        {"A=1\nB=2", "A=1\nB=2\0\0"s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildEnvironmentBlock(c.text), c.block) << c.text;
}

TEST(LaunchPlan, ShowStatesOfTheShowCodes)
{
    struct Case
    {
        int code;
        int direct;
        int logon;
    };
    const Case cases[] = {{0, 5, 5}, {1, 0, 0}, {2, 3, 3},  {3, 2, 2},
                          {4, 7, 7}, {5, 0, 1}, {-1, 0, 1}, {99, 0, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(ShowStateOfCode(c.code, false), c.direct) << c.code;
        EXPECT_EQ(ShowStateOfCode(c.code, true), c.logon) << c.code;
    }
}

TEST(LaunchPlan, CommandLinesQuoteThePath)
{
    EXPECT_EQ(QuotedCommandLine("C:\\Program Files\\a.exe", "/x y"),
              "\"C:\\Program Files\\a.exe\" /x y");
    EXPECT_EQ(QuotedCommandLine("a.exe", ""), "\"a.exe\" ");
    EXPECT_EQ(RegisterServerCommandLine("C:\\My Apps\\server.exe", true),
              "\"C:\\My Apps\\server.exe\" /regserver");
    EXPECT_EQ(RegisterServerCommandLine("C:\\My Apps\\server.exe", false),
              "\"C:\\My Apps\\server.exe\" /unregserver");
}

TEST(LaunchPlan, ServerFileKindByExtension)
{
    struct Case
    {
        const char* path;
        ServerFileKind kind;
    };
    const Case cases[] = {
        {"C:\\a\\lib.tlb", ServerFileKind::TypeLibrary},
        {"C:\\a\\LIB.TLB", ServerFileKind::TypeLibrary},
        {"C:\\a\\server.Exe", ServerFileKind::Program},
        {"C:\\a\\server.dll", ServerFileKind::Library},
        {"C:\\a\\server.ocx", ServerFileKind::Library},
        {"C:\\a.exe\\server", ServerFileKind::Library},
        {"C:\\a\\tlb", ServerFileKind::Library},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ServerFileKindOf(c.path), c.kind) << c.path;
}

TEST(LaunchPlan, FolderOfAPath)
{
    EXPECT_EQ(FolderOf("C:\\a\\b.exe"), "C:\\a\\");
    EXPECT_EQ(FolderOf("C:b.exe"), "C:");
    EXPECT_EQ(FolderOf("b.exe"), "");
}

TEST(LaunchPlan, ShellTokenOnlyFromAnElevatedSetupBelowAMediumShell)
{
    struct Case
    {
        bool vista;
        bool shell;
        std::uint32_t setup;
        std::uint32_t shellLevel;
        bool token;
    };
    const Case cases[] = {
        {true, true, kHighIntegrity, kMediumIntegrity, true},
        {false, true, kHighIntegrity, kMediumIntegrity, false},
        {true, false, kHighIntegrity, kMediumIntegrity, false},
        {true, true, kHighIntegrity, kHighIntegrity, false},
        {true, true, kMediumIntegrity, kMediumIntegrity, false},
        {true, true, 0x4000, kMediumIntegrity, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UsesShellToken(c.vista, c.shell, c.setup, c.shellLevel), c.token);
}

}  // namespace
}  // namespace setup::engine
