#include "shred/engine/region_overwriter.h"
#include "shred/engine/tests/shred_test_support.h"

#include <gtest/gtest.h>

namespace shred::testing {
namespace {

// Records seeks and writes without keeping the bytes, so ranges above 4 GiB cost nothing.
class RecordingFile : public IShredFile
{
public:
    std::vector<std::uint64_t> seeks;
    std::vector<std::uint32_t> writes;
    std::vector<std::uint8_t> firstBytes;  // first byte of every write
    bool failSeek = false;
    int failWriteAt = -1;
    bool flushed = false;
    std::uint64_t size = ~0ull;
    bool failSize = false;

    bool GetSize(std::uint64_t& fileSize) override
    {
        fileSize = size;
        return !failSize;
    }
    bool Seek(std::uint64_t offset) override
    {
        seeks.push_back(offset);
        return !failSeek;
    }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) override
    {
        written = length;
        if (static_cast<int>(writes.size()) == failWriteAt)
            return false;
        writes.push_back(length);
        firstBytes.push_back(data[0]);
        return true;
    }
    bool SetEndOfFile() override { return true; }
    bool SetTimes(std::uint64_t) override { return true; }
    bool Flush() override { return flushed = true; }
};

TEST(OverwriteRegion, WritesEveryPassOverTheWholeRange)
{
    struct Case
    {
        const char* name;
        int algorithm;
        std::uint64_t offset;
        std::uint64_t length;
        std::size_t writes;
        std::uint32_t firstWrite;
    };
    const std::vector<Case> cases{
        {"algorithm 2 over 65535 bytes", 2, 0, 65535, 35, 65535},
        {"length 0", 4, 100, 0, 0, 0},
        {"above 4 GiB", 0, 0x100000010ull, 0x10001, 2, 65536},
        {"three chunks per pass", 1, 7, 65536 * 2 + 5, 9, 65536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingFile file;
        const PassList passes = Passes(c.algorithm);
        EXPECT_EQ(OverwriteRegion(&file, passes, c.offset, c.length, 1000), kShredDone);
        EXPECT_EQ(file.seeks, std::vector<std::uint64_t>(passes.size(), c.offset));
        EXPECT_EQ(file.writes.size(), c.writes);
        if (!file.writes.empty()) {
            EXPECT_EQ(file.writes.front(), c.firstWrite);
        }
        EXPECT_TRUE(file.flushed);
    }
}

TEST(OverwriteRegion, IsClippedToTheFileAndNeverExtendsIt)
{
    struct Case
    {
        const char* name;
        std::uint64_t size;
        std::uint64_t offset;
        std::uint64_t length;
        std::uint64_t written;  // per pass
    };
    const std::vector<Case> cases{
        {"inside", 1000, 100, 500, 500},
        {"whole file", 1000, 0, 1000, 1000},
        {"longer than the file", 1000, 0, 5000, 1000},
        {"runs past the end", 1000, 900, 500, 100},
        {"starts at the end", 1000, 1000, 10, 0},
        {"starts far beyond", 1000, 100ull << 20, 10, 0},
        {"length wraps around", 1000, 10, ~0ull, 990},
        {"empty file", 0, 0, 4096, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClipRegion(c.offset, c.length, c.size), c.written);
        RecordingFile file;
        file.size = c.size;
        const PassList passes = Passes(2);
        EXPECT_EQ(OverwriteRegion(&file, passes, c.offset, c.length, 1000), kShredDone);
        std::uint64_t total = 0;
        for (std::uint32_t w : file.writes)
            total += w;
        EXPECT_EQ(total, c.written * passes.size());
    }
    RecordingFile unknownSize;
    unknownSize.failSize = true;
    EXPECT_EQ(OverwriteRegion(&unknownSize, Passes(1), 0, 10, 1000), kRegionSeekFailed);
    EXPECT_TRUE(unknownSize.writes.empty());
}

TEST(OverwriteRegion, PassesArriveInOrder)
{
    RecordingFile file;
    ASSERT_EQ(OverwriteRegion(&file, Passes(7), 0, 10, 1000), kShredDone);
    EXPECT_EQ(file.firstBytes, (std::vector<std::uint8_t>{0x00, 0xFF, 0x00, 0x61}));
}

TEST(OverwriteRegion, FailuresStopAtOnce)
{
    RecordingFile seekFails;
    seekFails.failSeek = true;
    EXPECT_EQ(OverwriteRegion(&seekFails, Passes(1), 0, 10, 1000), kRegionSeekFailed);
    EXPECT_TRUE(seekFails.writes.empty());

    RecordingFile writeFails;
    writeFails.failWriteAt = 1;
    EXPECT_EQ(OverwriteRegion(&writeFails, Passes(1), 0, 10, 1000), kRegionWriteFailed);
    EXPECT_EQ(writeFails.writes.size(), 1u);
    EXPECT_EQ(OverwriteRegion(nullptr, Passes(1), 0, 10, 1000), kRegionBadHandle);
}

}  // namespace
}  // namespace shred::testing
