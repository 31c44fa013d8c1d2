// Placing acquired media with the Windows file operations, in a scratch folder under Wine.
#include <gtest/gtest.h>

#include "setup/engine/media/media_files_win32.h"
#include "setup/engine/media/media_placement.h"
#include "setup/engine/media/transfer_folder.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

using namespace setup::engine;
using testsupport::FileExists;
using testsupport::FolderExists;

class MediaPlacementTest : public ::testing::Test
{
protected:
    std::string Path(const std::string& relative) { return scratch.NarrowPath() + relative; }
    std::string Put(const std::string& relative, const std::string& bytes)
    {
        const std::size_t slash = relative.rfind('\\');
        if (slash != std::string::npos)
            scratch.Make(relative.substr(0, slash));
        return scratch.Write(relative, bytes);
    }
    bool Exists(const std::string& relative)
    {
        return FileExists(scratch / std::wstring(relative.begin(), relative.end()));
    }

    testsupport::ScratchFolder scratch;
    IMediaFiles& files = Win32MediaFiles();
};

TEST_F(MediaPlacementTest, TransferFolderCopiesOrMovesTheTreeReplacingWhatIsThere)
{
    Put("from\\a.txt", "a");
    Put("from\\sub\\deep\\b.txt", "b");
    Put("to\\a.txt", "old");
    ASSERT_TRUE(TransferFolder(files, Path("from"), Path("to"), false));
    EXPECT_EQ(scratch.Read("to\\a.txt"), "a");
    EXPECT_EQ(scratch.Read("to\\sub\\deep\\b.txt"), "b");
    EXPECT_TRUE(Exists("from\\a.txt"));

    Put("from\\a.txt", "new");
    ASSERT_TRUE(TransferFolder(files, Path("from\\"), Path("to\\"), true));
    EXPECT_EQ(scratch.Read("to\\a.txt"), "new");
    EXPECT_FALSE(FolderExists(scratch / L"from"));
}

TEST_F(MediaPlacementTest, FileTableRowsPlaceFilesAndTheRestMovesWhole)
{
    Put("tarq\\Core\\0000000A\\app.exe", "app");
    Put("tarq\\Core\\0000000B\\shared.dll", "dll");
    Put("tarq\\Core\\extra\\notes.txt", "notes");
    Put("data\\bin\\app.exe", "old app");
    const std::vector<std::string> table{
        "core",  "0000000A\\app.exe",    "bin",
        "Other", "0000000C\\other.txt",  "other",
        "CORE",  "0000000B\\shared.dll", "bin\\",
        "Core",  "0000000B\\shared.dll", "system",  // the same file in a second place
    };
    ASSERT_TRUE(PlaceExtractedMedia(files, table, {Path("tarq"), "Core", Path("data")}));
    EXPECT_EQ(scratch.Read("data\\bin\\app.exe"), "app");
    EXPECT_EQ(scratch.Read("data\\bin\\shared.dll"), "dll");
    EXPECT_EQ(scratch.Read("data\\system\\shared.dll"), "dll");
    EXPECT_EQ(scratch.Read("data\\Core\\extra\\notes.txt"), "notes");
    EXPECT_FALSE(Exists("data\\other\\other.txt"));
    EXPECT_FALSE(FolderExists(scratch / L"tarq\\Core"));
}

TEST_F(MediaPlacementTest, AMissingStoredFileFailsThePlacement)
{
    Put("tarq\\Core\\x.txt", "x");
    const std::vector<std::string> table{"Core", "0000000A\\gone.exe", "bin"};
    EXPECT_FALSE(PlaceExtractedMedia(files, table, {Path("tarq"), "Core", Path("data")}));
}

TEST_F(MediaPlacementTest, OfflineMediaAreCopiedFromTheSourceAndMovedOnlyFromTheTemporaryFolder)
{
    Put("source\\offline\\pkg\\a.cab", "cab");
    Put("source\\mergemod\\m.msm", "msm");
    Put("source\\data\\readme.txt", "r");  // no "offline" here: the parent is used
    std::vector<std::string> texts;
    OfflineCopyEvents events;
    events.progress = [&](std::string_view text, std::int64_t) { texts.emplace_back(text); };
    OfflineMedia media{Path("source\\data"), Path("target"), Path("temp"), false};
    ASSERT_TRUE(CopyOfflineMedia(files, media, events));
    EXPECT_EQ(scratch.Read("target\\offline\\pkg\\a.cab"), "cab");
    EXPECT_EQ(scratch.Read("target\\m.msm"), "msm");
    // The installation source keeps its media.
    EXPECT_TRUE(Exists("source\\offline\\pkg\\a.cab"));
    EXPECT_TRUE(Exists("source\\mergemod\\m.msm"));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "a.cab, 1% complete"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "m.msm, 51% complete"), texts.end());

    Put("temp\\run\\offline\\b.cab", "b");
    media = {Path("temp\\run"), Path("target2"), Path("temp"), false};
    ASSERT_TRUE(CopyOfflineMedia(files, media, events));
    EXPECT_EQ(scratch.Read("target2\\offline\\b.cab"), "b");
    EXPECT_FALSE(Exists("temp\\run\\offline\\b.cab"));

    // Cancelled between two files.
    events.terminated = [] { return true; };
    media = {Path("source"), Path("target3"), Path("temp"), false};
    EXPECT_FALSE(CopyOfflineMedia(files, media, events));
    EXPECT_FALSE(Exists("target3\\offline\\pkg\\a.cab"));
}

TEST_F(MediaPlacementTest, CopyToCacheReplacesOnlyATargetOfAnotherSize)
{
    const std::string source = Put("a.7zip", "12345");
    const std::string target = Path("cache\\a.7zip");
    ASSERT_TRUE(CopyToCache(files, source, target, false));
    EXPECT_EQ(scratch.Read("cache\\a.7zip"), "12345");
    Put("cache\\a.7zip", "abcde");
    ASSERT_TRUE(CopyToCache(files, source, target, false));
    EXPECT_EQ(scratch.Read("cache\\a.7zip"), "abcde");
    EXPECT_TRUE(CopyToCache(files, source, "relative\\a.7zip", false));
    EXPECT_FALSE(Exists("relative\\a.7zip"));
}

}  // namespace
