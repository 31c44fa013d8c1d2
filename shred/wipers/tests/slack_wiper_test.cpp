#include "shred/wipers/slack_wiper.h"
#include "shred/engine/crt_random.h"
#include "shred/wipers/tests/slack_fakes.h"

#include <gtest/gtest.h>

namespace shred::wipers::testing {
namespace {

const std::wstring kFile = L"C:\\data\\a.txt";

// The bytes every pass writes: one cluster rounded up to whole patterns, random passes drawn
// from the source seeded with the clock and one value discarded.
std::vector<std::vector<std::uint8_t>> ExpectedWrites(int algorithmId, std::uint32_t cluster,
                                                      std::uint32_t seconds)
{
    const PassList passes =
        *BuildPassList(algorithmId, kVolumewipe, [] { return std::uint8_t{0x77}; });
    CrtRandom random;
    random.Seed(seconds);
    random.Next();
    std::vector<std::vector<std::uint8_t>> writes;
    for (const ShredPass& pass : passes) {
        std::vector<std::uint8_t> bytes(
            SlackWriteLength(cluster, static_cast<std::uint32_t>(pass.pattern.size())));
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = pass.random ? random.NextByte() : pass.pattern[i % pass.pattern.size()];
        writes.push_back(std::move(bytes));
    }
    return writes;
}

TEST(SlackWiper, EveryPassWritesOneClusterAtTheEndAndTheFileKeepsSizeTimesAndAttributes)
{
    const struct
    {
        std::uint64_t size;
        std::uint32_t cluster;
        int algorithmId;
        std::uint32_t firstLength;
    } cases[] = {
        {10000, 4096, 0, 4096},  // one zero pass
        {8192, 4096, 0, 4096},   // exactly on a cluster boundary: a new cluster is written
        {10000, 4096, 2, 4098},  // three-byte patterns round the cluster up
        {700, 512, 5, 512},      // four-byte patterns fit
        {0, 65536, 4, 65536},    // empty file, random passes
    };
    for (const auto& c : cases) {
        FakeSlackSystem system;
        system.clusters[L"C:\\"] = c.cluster;
        system.AddFile(kFile, c.size);
        system.files[kFile].attributes = 0x22;  // hidden, archive
        EXPECT_EQ(
            WipeSpecifiedFileSlack(kFile.c_str(), c.algorithmId, system, TestSlackServices(system)),
            kSlackDone);

        const auto expected = ExpectedWrites(c.algorithmId, c.cluster, system.seconds);
        ASSERT_EQ(system.writes.size(), expected.size()) << c.algorithmId;
        EXPECT_EQ(system.writes[0].bytes.size(), c.firstLength);
        for (std::size_t pass = 0; pass < expected.size(); ++pass) {
            EXPECT_EQ(system.writes[pass].offset, c.size);
            EXPECT_EQ(system.writes[pass].bytes, expected[pass]) << c.algorithmId << " " << pass;
        }
        EXPECT_EQ(system.files[kFile].size, c.size);
        EXPECT_EQ(system.files[kFile].times, (SlackFileTimes{111, 222, 333}));
        EXPECT_EQ(system.files[kFile].attributes, 0x22u);
    }
}

TEST(SlackWiper, EveryStepHasItsOwnResultAndNoFailureBeforeTheCutLeavesTheFileLonger)
{
    const struct
    {
        SlackFailure failure;
        int result;
        bool sizeKept;
    } cases[] = {
        {SlackFailure::Cluster, kSlackClusterFailed, true},
        {SlackFailure::GetAttributes, kSlackAttributesUnreadable, true},
        {SlackFailure::Open, kSlackOpenFailed, true},
        {SlackFailure::GetTimes, kSlackTimesUnreadable, true},
        {SlackFailure::GetSize, kSlackSizeUnreadable, true},
        {SlackFailure::FirstSeek, kSlackSeekEndFailed, true},
        {SlackFailure::Write, kSlackWriteFailed, true},
        {SlackFailure::SecondSeek, kSlackSeekBackFailed, false},
        {SlackFailure::EndOfFile, kSlackEndOfFileFailed, false},
        {SlackFailure::SetTimes, kSlackTimesNotRestored, true},
        {SlackFailure::SetAttributes, kSlackAttributesNotRestored, true},
    };
    for (const auto& c : cases) {
        FakeSlackSystem system;
        system.AddFile(kFile, 10000);
        system.failure = c.failure;
        EXPECT_EQ(WipeSpecifiedFileSlack(kFile.c_str(), 0, system, TestSlackServices(system)),
                  c.result)
            << static_cast<int>(c.failure);
        if (c.sizeKept) {
            EXPECT_EQ(system.files[kFile].size, 10000u) << static_cast<int>(c.failure);
        }
        EXPECT_FALSE(system.files[kFile].open) << static_cast<int>(c.failure);
    }
}

TEST(SlackWiper, PathsThatAreNoFileAreRefusedBeforeAnythingIsOpened)
{
    FakeSlackSystem system;
    system.AddFile(kFile, 100);
    system.AddFile(L"relative.txt", 100);
    system.AddFile(L"D:\\x.txt", 100);  // a root without a cluster size
    const struct
    {
        const wchar_t* path;
        int algorithmId;
        int result;
    } cases[] = {
        {nullptr, 0, kSlackNotFound},
        {L"C:\\data\\none", 0, kSlackNotFound},
        {L"C:\\data", 0, kSlackIsFolder},
        {L"relative.txt", 0, kSlackNoRoot},
        {L"D:\\x.txt", 0, kSlackClusterFailed},
        {L"C:\\data\\*.txt", 0, kSlackNotFound},
        {kFile.c_str(), 55, kSlackAlgorithmRefused},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WipeSpecifiedFileSlack(c.path, c.algorithmId, system, TestSlackServices(system)),
                  c.result);
    EXPECT_TRUE(system.writes.empty());
    system.files[kFile].readOnly = true;
    EXPECT_EQ(WipeSpecifiedFileSlack(kFile.c_str(), 0, system, TestSlackServices(system)),
              kSlackOpenFailed);
    EXPECT_TRUE(system.writes.empty());
}

TEST(SlackWiper, RootOfDriveAndSharePaths)
{
    const struct
    {
        const wchar_t* path;
        const wchar_t* root;
    } cases[] = {{L"C:\\data\\a.txt", L"C:\\"},
                 {L"c:\\a", L"c:\\"},
                 {L"\\\\srv\\share\\a.txt", L"\\\\srv\\share\\"},
                 {L"\\\\srv", L""},
                 {L"a.txt", L""},
                 {L"C:a.txt", L""}};
    for (const auto& c : cases)
        EXPECT_EQ(RootOf(c.path), c.root);
}

}  // namespace
}  // namespace shred::wipers::testing
