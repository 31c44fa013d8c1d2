#include "shred/engine/algorithm.h"

#include "shred/engine/crt_random.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace shred {
namespace {

// "R" is a random pass, "R3"/"R4" one with a longer pattern; otherwise hexadecimal bytes.
std::string Describe(const PassList& passes)
{
    std::string text;
    for (const ShredPass& pass : passes) {
        if (!text.empty())
            text += ' ';
        if (pass.random) {
            text += 'R';
            if (pass.pattern.size() > 1)
                text += std::to_string(pass.pattern.size());
            continue;
        }
        for (std::uint8_t byte : pass.pattern) {
            static const char kHex[] = "0123456789ABCDEF";
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
    }
    return text;
}

const auto kShredChar = [] { return std::uint8_t{0xC3}; };

TEST(BuildPassList, EveryAlgorithmHasItsExactPasses)
{
    const std::string gutmann =
        "R3 R3 R3 R3 555555 AAAAAA 924924 492492 249249 000000 111111 222222 333333 444444 555555 "
        "666666 777777 888888 999999 AAAAAA BBBBBB CCCCCC DDDDDD EEEEEE FFFFFF 924924 492492 "
        "249249 "
        "6DB6DB B6DB6D DB6DB6 R3 R3 R3 R3";
    const std::pair<int, std::string> cases[] = {
        {0, "00"},
        {1, "AA 55 R"},
        {2, gutmann},
        {3, "55 AA R"},
        {4, "FF 00 R R R R R"},
        {5, "FFFFFFFF FFFFFFE4 R4"},
        {6, "35 CA 97 R"},
        {7, "00 FF 00 61"},
        {8, "R AA 55"},
        {9, "00 FF 00 FF 00 FF R"},
        {10, "00 01 R"},
        {11, "R R 00"},
        {12, "55 AA R R 55 AA R"},
        {99, "C3"},
        {100, "FF AA 55 R"},
        {101, "FF R 00 FF R R"},
        {102, "FF 00 00"},
        {103, "R FF 00"},
    };
    for (const auto& [id, expected] : cases) {
        const auto passes = BuildPassList(id, kFilewipe, kShredChar);
        ASSERT_TRUE(passes) << id;
        EXPECT_EQ(Describe(*passes), expected) << id;
    }
    EXPECT_EQ(BuildPassList(2, kFilewipe, kShredChar)->size(), 35u);
}

TEST(BuildPassList, RefusesNumbersOutsideTheVariantsTable)
{
    for (const int id : {-1, 13, 98, 104, 1000, -100})
        for (const ShredVariant* variant : {&kVolumewipe, &kFilewipe, &kSnapwipe})
            EXPECT_FALSE(BuildPassList(id, *variant, kShredChar)) << variant->name << " " << id;
    for (int id = 100; id <= 103; ++id) {
        EXPECT_FALSE(BuildPassList(id, kSnapwipe, kShredChar)) << id;
        EXPECT_TRUE(BuildPassList(id, kVolumewipe, kShredChar)) << id;
    }
    // The pass lists the three deliverables share are the same.
    for (const int id : {0, 1, 2, 5, 12, 99})
        EXPECT_EQ(BuildPassList(id, kSnapwipe, kShredChar),
                  BuildPassList(id, kVolumewipe, kShredChar));
}

TEST(BuildPassList, ReadsTheShredCharOnlyForAlgorithm99)
{
    int reads = 0;
    const ShredCharReader reader = [&] {
        ++reads;
        return std::uint8_t{0x41};
    };
    for (int id = 0; id <= 12; ++id)
        BuildPassList(id, kFilewipe, reader);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(Describe(*BuildPassList(99, kFilewipe, reader)), "41");
    EXPECT_EQ(Describe(*BuildPassList(99, kFilewipe, reader)), "41");
    EXPECT_EQ(reads, 2);
}

TEST(BuildShredAlgorithm, RecordsMatchThePassesAndFreeingReleasesEverything)
{
    // The sanitizers of the native build report any block that freeing leaves behind.
    for (const int id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99, 100, 101, 102, 103}) {
        const PassList expected = *BuildPassList(id, kVolumewipe, kShredChar);
        _OW_RUN* run = BuildShredAlgorithm(id, kVolumewipe, kShredChar);
        ASSERT_NE(run, nullptr) << id;
        EXPECT_EQ(run->algorithmId, id);
        ASSERT_EQ(run->passCount, static_cast<int>(expected.size()));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(run->passes);
        for (int i = 0; i < run->passCount; ++i) {
            // Callers walk the array by the record size.
            const auto* record =
                reinterpret_cast<const PassRecord*>(bytes + i * sizeof(PassRecord));
            EXPECT_EQ(record->random, expected[i].random ? 1 : 0);
            ASSERT_EQ(record->patternLength, static_cast<int>(expected[i].pattern.size()));
            if (!expected[i].random) {
                EXPECT_EQ(std::vector<std::uint8_t>(record->pattern,
                                                    record->pattern + record->patternLength),
                          expected[i].pattern);
            }
        }
        EXPECT_EQ(PassListFromRun(run), expected);
        FreeShredAlgorithm(run);

        SnapOwRun* snap = MakeShredRun<SnapOwRun>(expected, id);
        ASSERT_NE(snap, nullptr);
        EXPECT_EQ(PassListFromRun(snap), expected);
        FreeShredRun(snap);
    }
}

TEST(BuildShredAlgorithm, RefusalPrintsOnlyInVolumewipe)
{
    for (const ShredVariant* variant : {&kVolumewipe, &kFilewipe, &kSnapwipe}) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(BuildShredAlgorithm(13, *variant, kShredChar), nullptr);
        const std::string printed = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed,
                  variant->printsAlgorithmRefusal ? "Could not retrieve algorithm 13\n" : "")
            << variant->name;
    }
}

TEST(PassListFromRun, RefusesRecordsThatCannotBeWritten)
{
    std::uint8_t byte = 0xAB;
    PassRecord records[2] = {{&byte, 1, 0, {0, 0}}, {nullptr, 3, 1, {0, 0}}};
    _OW_RUN run{records, 2, 7};
    EXPECT_TRUE(PassListFromRun(&run));

    struct Case
    {
        const char* name;
        PassRecord first;
        std::int32_t count;
    };
    const Case cases[] = {
        {"fixed pass without a pattern", {nullptr, 1, 0, {0, 0}}, 2},
        {"zero pattern length", {&byte, 0, 0, {0, 0}}, 2},
        {"negative pattern length", {&byte, -4, 0, {0, 0}}, 2},
        {"pattern longer than a chunk", {&byte, 65537, 1, {0, 0}}, 2},
        {"negative count", {&byte, 1, 0, {0, 0}}, -1},
    };
    for (const Case& c : cases) {
        records[0] = c.first;
        run.passCount = c.count;
        EXPECT_FALSE(PassListFromRun(&run)) << c.name;
    }
    EXPECT_FALSE(PassListFromRun<_OW_RUN>(nullptr));
    const _OW_RUN empty{nullptr, 0, 0};
    EXPECT_EQ(PassListFromRun(&empty), PassList{});
}

TEST(ChunkSizeFor, IsTheLargestWholeNumberOfPatternsUpTo64KiB)
{
    EXPECT_EQ(ChunkSizeFor(1), 65536u);
    EXPECT_EQ(ChunkSizeFor(3), 65535u);
    EXPECT_EQ(ChunkSizeFor(4), 65536u);
    EXPECT_EQ(ChunkSizeFor(7), 65534u);
    EXPECT_EQ(ChunkSizeFor(65536), 65536u);
}

TEST(CrtRandom, DrawsTheClassicCLibrarySequence)
{
    CrtRandom random;
    random.Seed(1);
    EXPECT_THAT((std::vector<int>{random.Next(), random.Next(), random.Next(), random.Next()}),
                ::testing::ElementsAre(41, 18467, 6334, 26500));
    random.Seed(1);
    EXPECT_EQ(random.NextByte(), 41);
}

}  // namespace
}  // namespace shred
