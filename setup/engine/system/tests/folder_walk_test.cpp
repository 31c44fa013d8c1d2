#include "setup/engine/system/folder_walk.h"

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/testing/fake_file_system.h"

namespace setup::engine {
namespace {

using Paths = std::vector<std::string>;
using testing::FakeFileSystem;

// R holds a.txt, sub1 (b.txt, deep\c.txt), sub2 (d.log) and "link", a junction whose target
// holds e.txt: the walks must not go there.
FakeFileSystem MakeTree()
{
    FakeFileSystem fs;
    fs.AddFolder("R:");
    fs.AddFolder("R:\\root");
    fs.AddFile("R:\\root\\a.txt");
    fs.AddFolder("R:\\root\\sub1");
    fs.AddFile("R:\\root\\sub1\\b.txt", kAttributeReadOnly);
    fs.AddFolder("R:\\root\\sub1\\deep");
    fs.AddFile("R:\\root\\sub1\\deep\\c.txt");
    fs.AddFolder("R:\\root\\sub2");
    fs.AddFile("R:\\root\\sub2\\d.log");
    fs.AddFolder("R:\\root\\link", kAttributeReparsePoint);
    fs.AddFile("R:\\root\\link\\e.txt");
    return fs;
}

TEST(FolderWalk, ListsSubFolderResultsBeforeOwnFiles)
{
    FakeFileSystem fs = MakeTree();
    const Paths recursive = {"R:\\root\\sub1\\deep\\c.txt", "R:\\root\\sub1\\b.txt",
                             "R:\\root\\a.txt"};
    EXPECT_EQ(GetFileList(fs, "R:\\root\\*.txt", true), recursive);
    EXPECT_EQ(FindFiles(fs, "R:\\root\\*.txt", true), recursive);
    EXPECT_EQ(GetFileList(fs, "R:\\root\\*.txt", false), Paths{"R:\\root\\a.txt"});
    EXPECT_EQ(FindFiles(fs, "R:\\root\\*.*", false), Paths{"R:\\root\\a.txt"});
    EXPECT_EQ(GetFileList(fs, "R:\\missing\\*.*", true), Paths{});

    EXPECT_EQ(ListSubFolders(fs, "R:\\root", true), (Paths{"R:\\root\\sub1\\deep", "R:\\root\\sub1",
                                                           "R:\\root\\sub2", "R:\\root\\link"}));
    EXPECT_EQ(ListSubFolders(fs, "R:\\root\\", false),
              (Paths{"R:\\root\\sub1", "R:\\root\\sub2", "R:\\root\\link"}));
}

TEST(FolderWalk, DeleteFolderTreeRemovesLinksWithoutFollowingThem)
{
    FakeFileSystem fs = MakeTree();
    DeleteFolderTree(fs, "R:\\root", true);
    const Paths expected = {
        "attributes R:\\root\\a.txt",
        "delete R:\\root\\a.txt",
        "attributes R:\\root\\sub1\\b.txt",
        "delete R:\\root\\sub1\\b.txt",
        "attributes R:\\root\\sub1\\deep\\c.txt",
        "delete R:\\root\\sub1\\deep\\c.txt",
        "rmdir R:\\root\\sub1\\deep",
        "rmdir R:\\root\\sub1",
        "attributes R:\\root\\sub2\\d.log",
        "delete R:\\root\\sub2\\d.log",
        "rmdir R:\\root\\sub2",
        "rmdir R:\\root\\link",
    };
    EXPECT_EQ(fs.log, expected);
    EXPECT_TRUE(fs.Exists("R:\\root"));
    EXPECT_FALSE(fs.Exists("R:\\root\\sub1"));
    EXPECT_TRUE(fs.Exists("R:\\root\\link\\e.txt"));  // the link's target is untouched
}

TEST(FolderWalk, DeleteFolderTreeWithoutRecurseKeepsSubFolders)
{
    FakeFileSystem fs = MakeTree();
    DeleteFolderTree(fs, "R:\\root\\", false);
    EXPECT_EQ(fs.log, (Paths{"attributes R:\\root\\a.txt", "delete R:\\root\\a.txt"}));
    EXPECT_TRUE(fs.Exists("R:\\root\\sub1\\deep\\c.txt"));
}

TEST(FolderWalk, ForceFoldersRecordedListsCreatedFoldersOutermostFirst)
{
    struct Case
    {
        std::string path;
        Paths refuse;
        bool result;
        Paths created;
    };
    const Case cases[] = {
        {"D:\\A\\B\\E", {}, true, {"D:\\A\\B", "D:\\A\\B\\E"}},
        {"D:\\A\\B\\E\\", {}, true, {"D:\\A\\B", "D:\\A\\B\\E"}},
        {"D:\\A", {}, true, {}},
        {"D:", {}, true, {}},
        {"D:\\A\\B\\E", {"D:\\A\\B\\E"}, false, {"D:\\A\\B"}},
        {"D:\\A\\B\\E", {"D:\\A\\B"}, false, {}},
    };
    for (const Case& c : cases) {
        FakeFileSystem fs;
        fs.AddFolder("D:");
        fs.AddFolder("D:\\A");
        fs.refuseCreate = c.refuse;
        rtl::TStringList created;
        EXPECT_EQ(ForceFoldersRecorded(fs, c.path, created), c.result) << c.path;
        EXPECT_EQ(created.Items(), c.created) << c.path;
    }

    FakeFileSystem fs;
    rtl::TStringList created;
    try {
        ForceFoldersRecorded(fs, "", created);
        FAIL() << "empty path accepted";
    } catch (const rtl::EInOutError& e) {
        EXPECT_STREQ(e.what(), "Unable to create directory");
        EXPECT_EQ(e.ErrorCode(), 3);
    }
}

TEST(FolderWalk, GetLongPathRebuildsFromFoundNames)
{
    FakeFileSystem fs;
    fs.AddFolder("C:");
    fs.AddFolder("C:\\Program Files");
    fs.AddFile("C:\\Program Files\\Read Me.txt");
    const std::pair<std::string, std::string> cases[] = {
        {"c:\\program files\\read me.txt", "c:\\Program Files\\Read Me.txt"},
        {"\"C:\\PROGRAM FILES\\\"", "C:\\Program Files"},
        {"C:\\Program Files\\missing.txt", "C:\\Program Files\\missing.txt"},
        {"C:\\nowhere\\read me.txt", "C:\\nowhere\\read me.txt"},
        {"C:", "C:"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(GetLongPath(fs, path), expected) << path;
}

}  // namespace
}  // namespace setup::engine
