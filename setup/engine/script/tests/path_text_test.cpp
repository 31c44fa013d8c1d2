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

}  // namespace
}  // namespace setup::engine
