#include "shred/engine/name_wiper.h"

#include "shred/engine/object_shredder.h"
#include "shred/engine/stream_list.h"
#include "shred/engine/tests/memory_system.h"
#include "shred/engine/tests/shred_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace shred::testing {
namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

ShredResult ShredWith(IShredSystem& system, const std::wstring& path)
{
    int percent = 0;
    const int fileIndex = 1;
    const PassList passes = Passes(0);
    const ShredWalk walk{system, kVolumewipe, passes, &percent, &fileIndex, 1};
    return ShredObject(path, walk);
}

TEST(MakeRandomName, KeepsLengthFolderAndOnlyTheLastDot)
{
    struct Case
    {
        std::wstring path;
        std::wstring shape;
    };
    const Case cases[] = {
        {L"C:\\work\\report.final.txt", L"C:\\work\\????????????.???"},
        {L"C:\\work\\.hidden", L"C:\\work\\.??????"},
        {L"C:\\work\\noext", L"C:\\work\\?????"},
        {L"C:\\work.d\\x", L"C:\\work.d\\?"},
        {L"name.", L"????."},
    };
    for (const Case& c : cases) {
        MemorySystem system;
        system.AddFile(c.path, {});
        CrtRandom random;
        std::wstring path = c.path;
        ASSERT_TRUE(MakeRandomName(system, random, path)) << Narrow(c.path);
        EXPECT_TRUE(HasShape(path, c.shape)) << Narrow(path);
        EXPECT_NE(path, c.path);
    }
}

// Every name it asks about exists: the draws must end.
class CrowdedSystem : public MemorySystem
{
public:
    ObjectFacts Facts(const std::wstring& path) override
    {
        ++questions;
        return ObjectFacts{true, false, false};
    }
    int questions = 0;
};

TEST(MakeRandomName, GivesUpWhenEveryNameIsTaken)
{
    CrowdedSystem system;
    CrtRandom random;
    std::wstring path = L"C:\\work\\a";
    EXPECT_FALSE(MakeRandomName(system, random, path));
    EXPECT_EQ(path, L"C:\\work\\a");
    EXPECT_EQ(system.questions, kMaxRandomNameDraws);
    EXPECT_EQ(WipeNameAndRemove(system, path), kShredRenameFailed);
}

TEST(MakeRandomName, RefusesAPathWithoutAName)
{
    MemorySystem system;
    CrtRandom random;
    std::wstring path = L"C:\\work\\";
    EXPECT_FALSE(MakeRandomName(system, random, path));
}

TEST(WipeNameAndRemove, BeforeNtOnlyTheRandomNameIsUsed)
{
    MemorySystem system;
    system.ntFamily = false;
    system.AddFolder(L"C:\\work");
    system.AddFile(L"C:\\work\\old.txt", {1, 2, 3});
    EXPECT_EQ(WipeNameAndRemove(system, L"C:\\work\\old.txt"), kShredDone);
    EXPECT_THAT(system.Children(L"C:\\work"), ::testing::IsEmpty());
}

TEST(DeleteTree, DeletesWhatItFindsAndNeverEntersALink)
{
    MemorySystem system;
    system.AddFolder(L"C:\\work");
    system.AddFolder(L"C:\\work\\tree");
    system.AddFile(L"C:\\work\\tree\\f.txt", {1});
    system.AddFolder(L"C:\\work\\tree\\sub");
    system.AddFile(L"C:\\work\\tree\\sub\\g.txt", {2});
    system.AddFolder(L"C:\\outside");
    system.AddFile(L"C:\\outside\\keep.txt", {3});
    system.AddLink(L"C:\\work\\tree\\sub\\jump", L"C:\\outside", true);
    system.AddFile(L"C:\\work\\single.txt", {4});

    EXPECT_EQ(DeleteTree(system, L"C:\\work\\missing"), -1);
    EXPECT_EQ(DeleteTree(system, L"C:\\work\\single.txt"), 1);
    EXPECT_EQ(DeleteTree(system, L"C:\\work\\tree"), 1);

    EXPECT_THAT(system.Children(L"C:\\work"), ::testing::IsEmpty());
    EXPECT_EQ(system.Read(L"C:\\outside\\keep.txt"), std::vector<std::uint8_t>{3});
}

TEST(ShredObject, RemovesALinkWithoutOverwritingWhatItPointsTo)
{
    MemorySystem system;
    system.AddFolder(L"C:\\work");
    system.AddFolder(L"C:\\outside");
    system.AddFile(L"C:\\outside\\precious.txt", Original(100));
    system.AddLink(L"C:\\work\\file-link", L"C:\\outside\\precious.txt", false);
    system.AddFolder(L"C:\\work\\dir");
    system.AddLink(L"C:\\work\\dir\\folder-link", L"C:\\outside", true);

    EXPECT_EQ(ShredWith(system, L"C:\\work\\file-link"), kShredDone);
    EXPECT_EQ(ShredWith(system, L"C:\\work\\dir\\folder-link"), kShredDone);
    EXPECT_EQ(ShredWith(system, L"C:\\work\\dir"), kShredDone);

    EXPECT_THAT(system.Children(L"C:\\work"), ::testing::IsEmpty());
    EXPECT_EQ(system.Read(L"C:\\outside\\precious.txt"), Original(100));
}

// Answers every backup read with a fixed image.
class ImageSystem : public MemorySystem
{
public:
    std::unique_ptr<IBackupStream> OpenBackupRead(const std::wstring&) override
    {
        return MakeBackupStream(image);
    }
    std::vector<std::uint8_t> image;
};

TEST(ListAlternateStreams, ReadsTheNamesOfTheBackupHeaders)
{
    MemorySystem system;
    system.AddFolder(L"C:\\work");
    system.AddFile(L"C:\\work\\f.txt", Original(70000));
    system.AddFile(L"C:\\work\\f.txt:Zone.Identifier:$DATA", Original(26));
    system.AddFile(L"C:\\work\\f.txt:x:$DATA", {});
    EXPECT_THAT(ListAlternateStreams(system, L"C:\\work\\f.txt"),
                ::testing::ElementsAre(L":Zone.Identifier:$DATA", L":x:$DATA"));
    EXPECT_THAT(ListAlternateStreams(system, L"C:\\work\\missing.txt"), ::testing::IsEmpty());
}

TEST(ListAlternateStreams, StopsAtHeadersThatCannotBeRight)
{
    const std::vector<std::uint8_t> good = MakeBackupImage({{1, L"", 10}, {4, L":a:$DATA", 3}});
    std::vector<std::uint8_t> hugeName = MakeBackupImage({{4, L":b:$DATA", 0}});
    const std::uint32_t huge = 0x7ffffff0;
    std::memcpy(hugeName.data() + 16, &huge, sizeof huge);
    std::vector<std::uint8_t> oddName = MakeBackupImage({{4, L":c:$DATA", 0}});
    oddName[16] = 3;
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> image;
        std::vector<std::wstring> expected;
    };
    std::vector<Case> cases{
        {"good", good, {L":a:$DATA"}},
        {"cut inside a header", std::vector<std::uint8_t>(good.begin(), good.begin() + 35), {}},
        {"cut inside a name", std::vector<std::uint8_t>(good.begin(), good.end() - 8), {}},
        {"data shorter than its size", MakeBackupImage({{4, L":d:$DATA", 0}}), {L":d:$DATA"}},
        {"a name size past any name", hugeName, {}},
        {"an odd name size", oddName, {}},
    };
    // The data of the last stream is missing: the seek moves nothing and fails.
    cases[3].image[8] = 50;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageSystem system;
        system.image = c.image;
        EXPECT_EQ(ListAlternateStreams(system, L"C:\\f"), c.expected);
    }
}

}  // namespace
}  // namespace shred::testing
