#include "setup/engine/script/path_text.h"

#include <gtest/gtest.h>

namespace setup::engine {
namespace {

TEST(PathText, SplitsPathsIntoParts)
{
    struct Case
    {
        std::string path, folder, name, ext, base, extNoDot;
    };
    const Case cases[] = {
        {"D:\\a.b\\d.tar.gz", "D:\\a.b\\", "d.tar.gz", ".gz", "d.tar", "gz"},
        {"D:\\a.b\\noext", "D:\\a.b\\", "noext", "", "noext", ""},
        {"C:file.txt", "C:", "file.txt", ".txt", "file", "txt"},
        {"plain", "", "plain", "", "plain", ""},
        {"\\\\srv\\share\\x.y", "\\\\srv\\share\\", "x.y", ".y", "x", "y"},
        {"C:\\dir\\", "C:\\dir\\", "", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
        EXPECT_EQ(ExtractFileBaseName(c.path), c.base) << c.path;
        EXPECT_EQ(ExtractFileExtNoDot(c.path), c.extNoDot) << c.path;
    }
}

TEST(PathText, BackslashesQuotesAndDrives)
{
    const std::pair<std::string, std::string> include[] = {
        {"D:", "D:\\"}, {"", ""}, {"C:\\x\\", "C:\\x\\"}, {"C:\\x", "C:\\x\\"}};
    for (const auto& [path, expected] : include)
        EXPECT_EQ(IncludeBackslash(path), expected) << path;
    const std::pair<std::string, std::string> exclude[] = {
        {"C:\\x\\", "C:\\x"}, {"C:\\x\\\\", "C:\\x\\"}, {"", ""}, {"x", "x"}};
    for (const auto& [path, expected] : exclude)
        EXPECT_EQ(ExcludeBackslash(path), expected) << path;
    EXPECT_EQ(RemoveDoubleQuotes("\"C:\\a \"b\"\""), "C:\\a b");
    EXPECT_EQ(CleanPathEnd("\"C:\\Program Files\\\""), "C:\\Program Files");
    EXPECT_EQ(ExtractFileDrive("C:\\x"), "C:");
    EXPECT_EQ(ExtractFileDrive("\\\\srv\\share\\x"), "\\\\srv\\share");
    EXPECT_EQ(ExtractFileDrive("x\\y"), "");
}

// In a double-byte code page the trail byte of a character can be 0x5C, the backslash's value
// (0x83 0x5C is such a character): it is part of the name, never a separator.
TEST(PathText, TrailByteOfADoubleByteCharacterIsNoBackslash)
{
    rtl::CodePageFacts dbcs = rtl::AsciiCodePage();
    dbcs.leadByte[0x83] = true;
    struct Case
    {
        std::string path, included, excluded, folder, name, ext;
    };
    const Case cases[] = {
        {"C:\\x\x83\x5C", "C:\\x\x83\x5C\\", "C:\\x\x83\x5C", "C:\\", "x\x83\x5C", ""},
        {"C:\\x\x83\x5C\\", "C:\\x\x83\x5C\\", "C:\\x\x83\x5C", "C:\\x\x83\x5C\\", "", ""},
        {"C:\\\x83\x5Cy.txt", "C:\\\x83\x5Cy.txt\\", "C:\\\x83\x5Cy.txt", "C:\\", "\x83\x5Cy.txt",
         ".txt"},
        {"\x83\x5C.\x83\x5C", "\x83\x5C.\x83\x5C\\", "\x83\x5C.\x83\x5C", "", "\x83\x5C.\x83\x5C",
         ".\x83\x5C"},
        // A lone lead byte at the end has no trail byte to hide.
        {"C:\\x\x83", "C:\\x\x83\\", "C:\\x\x83", "C:\\", "x\x83", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IncludeBackslash(c.path, dbcs), c.included) << c.path;
        EXPECT_EQ(ExcludeBackslash(c.path, dbcs), c.excluded) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path, dbcs), c.folder) << c.path;
        EXPECT_EQ(ExtractFileName(c.path, dbcs), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path, dbcs), c.ext) << c.path;
    }
}

TEST(PathText, SplitsAtFirstSeparator)
{
    EXPECT_EQ(SplitAtFirst("a=b=c", "="), (std::pair<std::string, std::string>{"a", "b=c"}));
    EXPECT_EQ(SplitAtFirst("abc", "="), (std::pair<std::string, std::string>{"abc", ""}));
    EXPECT_EQ(SplitAtFirst("a::b", "::"), (std::pair<std::string, std::string>{"a", "b"}));
}

TEST(PathText, ReadsCommandLineArguments)
{
    const std::string line = "\"C:\\Program Files\\setup.exe\"  /s  target=\"D:\\My App\" x";
    const std::string expected[] = {"C:\\Program Files\\setup.exe", "/s", "target=D:\\My App", "x",
                                    ""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ParamStrOf(line, i), expected[i]) << i;
}

TEST(UninstallCommandPath, TakesThePathBetweenTheQuotes)
{
    EXPECT_EQ(UninstallCommandPath("\"C:\\A B\\setup.exe\" REMOVE=TRUE MODIFY=FALSE"),
              "C:\\A B\\setup.exe");
    EXPECT_EQ(UninstallCommandPath("C:\\A\\setup.exe"), "C:\\A\\setup.exe");
    EXPECT_EQ(UninstallCommandPath(""), "");
}

}  // namespace
}  // namespace setup::engine
