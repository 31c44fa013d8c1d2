#include "setup/engine/statements/file_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "setup/engine/script/variables.h"
#include "setup/engine/testing/fake_file_system.h"
#include "setup/engine/testing/variable_names.h"

namespace setup::engine {
namespace {

using Paths = std::vector<std::string>;
using testing::FakeFileSystem;

// C:\X holds S (a.txt, E\ empty), b.txt and c.doc; "L" is a junction back to C:\X whose listed
// child stands for everything a walk through it would reach.
FakeFileSystem MakeTree()
{
    FakeFileSystem fs;
    fs.AddFolder("C:");
    fs.AddFolder("C:\\X");
    fs.AddFolder("C:\\X\\S");
    fs.AddFile("C:\\X\\S\\a.txt");
    fs.AddFolder("C:\\X\\S\\E");
    fs.AddFile("C:\\X\\b.txt");
    fs.AddFile("C:\\X\\c.doc");
    fs.AddFolder("C:\\X\\L", kAttributeReparsePoint);
    fs.AddFile("C:\\X\\L\\outside.txt");
    return fs;
}

class FileSearch : public ::testing::Test, protected testing::VariableNames
{
protected:
    ScriptVariables& RunVariables() override { return variables; }

    SearchProgress progress;
    ScriptVariables variables;
};

TEST_F(FileSearch, OrderFlagsAndMasks)
{
    struct Case
    {
        const char* path;
        bool recurse;
        bool folders;
        Paths expected;
    };
    const Case cases[] = {
        {"C:\\X\\*.txt", false, false, {"C:\\X\\b.txt"}},
        {"C:\\X\\*.txt", true, false, {"C:\\X\\S\\a.txt", "C:\\X\\b.txt"}},
        {"C:\\X\\*.txt",
         true,
         true,
         {"C:\\X\\S\\E", "C:\\X\\S\\a.txt", "C:\\X\\S", "C:\\X\\L", "C:\\X\\b.txt"}},
        {"C:\\X\\*.txt", false, true, {"C:\\X\\S", "C:\\X\\L", "C:\\X\\b.txt"}},
        // Folders are listed whatever the mask.
        {"C:\\X\\*.none", true, true, {"C:\\X\\S\\E", "C:\\X\\S", "C:\\X\\L"}},
        {"C:\\X\\*.*", false, false, {"C:\\X\\b.txt", "C:\\X\\c.doc"}},
        {"C:\\Missing\\*.*", true, true, {}},
    };
    for (const Case& c : cases) {
        FakeFileSystem fs = MakeTree();
        const std::string label =
            std::string(c.path) + (c.recurse ? " r" : "") + (c.folders ? " f" : "");
        EXPECT_EQ(FindAllFilesDirect(fs, c.path, c.recurse, c.folders), c.expected) << label;
        EXPECT_EQ(FindAllFiles(fs, c.path, c.recurse, c.folders, progress, variables,
                               [] { return false; }),
                  c.expected)
            << label;
    }
}

TEST_F(FileSearch, AStopKeepsWhatWasFoundSoFar)
{
    FakeFileSystem fs = MakeTree();
    const Paths all = FindAllFilesDirect(fs, "C:\\X\\*.*", true, true);
    ASSERT_EQ(all.size(), 6u);
    // With folders listed every entry is followed by a stop check.
    for (std::size_t stopAt = 1; stopAt <= all.size(); ++stopAt) {
        std::size_t checks = 0;
        const Paths found = FindAllFiles(fs, "C:\\X\\*.*", true, true, progress, variables,
                                         [&] { return ++checks >= stopAt; });
        EXPECT_EQ(found, Paths(all.begin(), all.begin() + static_cast<long>(stopAt))) << stopAt;
        EXPECT_EQ(checks, stopAt);
    }
}

TEST_F(FileSearch, PublishesATickPerFolderAndEachFileFound)
{
    FakeFileSystem fs = MakeTree();
    FindAllFiles(fs, "C:\\X\\*.txt", true, false, progress, variables, [] { return false; });
    EXPECT_EQ(progress.tick.load(), 3);  // X, S and S\E; the link is not entered
    EXPECT_EQ(GetVariable("TARQ_thProgress"), "3");
    EXPECT_EQ(GetVariable("TARQ_thMax"), "100");
    EXPECT_EQ(GetVariable("TARQ_thMin"), "0");
    EXPECT_EQ(GetVariable("TARQ_thProgressText"), "C:\\X\\b.txt");

    // The tick goes on from search to search and wraps after 100.
    for (int i = 3; i < 100; ++i)
        FindAllFiles(fs, "C:\\Missing\\*.*", false, false, progress, variables,
                     [] { return false; });
    EXPECT_EQ(GetVariable("TARQ_thProgress"), "100");
    FindAllFiles(fs, "C:\\Missing\\*.*", false, false, progress, variables, [] { return false; });
    EXPECT_EQ(GetVariable("TARQ_thProgress"), "0");
    // The plain search publishes nothing.
    FindAllFilesDirect(fs, "C:\\X\\*.*", true, true);
    EXPECT_EQ(progress.tick.load(), 0);
}

TEST_F(FileSearch, JoinedTextQuotesWhatWouldSplitIt)
{
    struct Case
    {
        Paths paths;
        const char* joined;
    };
    const Case cases[] = {
        {{}, ""},
        {{"C:\\a.txt"}, "C:\\a.txt"},
        {{"C:\\a b.txt", "C:\\c.txt"}, "\"C:\\a b.txt\"|C:\\c.txt"},
        {{"C:\\say \"hi\".txt"}, "\"C:\\say \"\"hi\"\".txt\""},
        {{"C:\\a|b", "C:\\tab\there"}, "\"C:\\a|b\"|\"C:\\tab\there\""},
        {{"C:\\d\xE9j\xE0.txt"}, "C:\\d\xE9j\xE0.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JoinFoundPaths(c.paths), c.joined);
}

TEST_F(FileSearch, RecursiveDeleteEmptiesTheTreeInPassesAndKeepsTheRoot)
{
    FakeFileSystem fs;
    fs.AddFolder("C:");
    fs.AddFolder("C:\\X");
    fs.AddFolder("C:\\X\\A");
    fs.AddFolder("C:\\X\\A\\B");
    fs.AddFolder("C:\\X\\A\\B\\C");
    fs.AddFile("C:\\X\\A\\B\\f.txt", kAttributeReadOnly);
    fs.AddFile("C:\\X\\top.txt");
    DeleteFilesRecursive(fs, "C:\\X\\*.*");
    EXPECT_TRUE(fs.FolderExists("C:\\X"));
    EXPECT_EQ(FindAllFilesDirect(fs, "C:\\X\\*.*", true, true), Paths{});
    // From the end of the list an outer folder is tried before its inner one: several passes.
    EXPECT_GE(std::count(fs.log.begin(), fs.log.end(), "rmdir C:\\X\\A"), 2);
}

TEST_F(FileSearch, RecursiveDeleteKeepsOtherFilesTheirFoldersAndWhatLinksReach)
{
    FakeFileSystem fs = MakeTree();
    fs.AddFolder("C:\\X\\T");
    fs.AddFile("C:\\X\\T\\gone.txt");
    DeleteFilesRecursive(fs, "C:\\X\\*.txt");
    EXPECT_EQ(FindAllFilesDirect(fs, "C:\\X\\*.*", true, true), Paths{"C:\\X\\c.doc"});
    EXPECT_TRUE(fs.Exists("C:\\X\\L\\outside.txt"));
    for (const std::string& entry : fs.log)
        EXPECT_EQ(entry.find("outside"), std::string::npos) << entry;
}

}  // namespace
}  // namespace setup::engine
