#include "standins/archive/byte_reader.h"

#include "standins/archive/archive_error.h"

#include <gtest/gtest.h>

namespace standins::archive {
namespace {

TEST(ByteReader, ReadsEveryLengthOfNumber)
{
    struct Case
    {
        std::vector<std::uint8_t> bytes;
        std::uint64_t value;
    };
    const std::vector<Case> cases = {
        {{0x00}, 0},
        {{0x7F}, 0x7F},
        {{0x80, 0x80}, 0x80},
        {{0xBF, 0xFF}, 0x3FFF},
        {{0xC1, 0x34, 0x12}, 0x11234},
        {{0xE0, 0x01, 0x02, 0x03}, 0x030201},
        {{0xFE, 1, 2, 3, 4, 5, 6, 7}, 0x07060504030201},
        {{0xFF, 1, 2, 3, 4, 5, 6, 7, 8}, 0x0807060504030201},
    };
    for (const Case& c : cases) {
        ByteReader reader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(reader.ReadNumber(), c.value) << "first byte " << int(c.bytes[0]);
        EXPECT_EQ(reader.Remaining(), 0u);
    }
}

TEST(ByteReader, RefusesToRunPastItsEnd)
{
    const std::vector<std::uint8_t> bytes = {0xC1, 0x34};
    ByteReader number(bytes.data(), bytes.size());
    EXPECT_THROW(number.ReadNumber(), ArchiveError);
    ByteReader word(bytes.data(), bytes.size());
    EXPECT_THROW(word.ReadUInt32(), ArchiveError);
    ByteReader skip(bytes.data(), bytes.size());
    EXPECT_THROW(skip.Skip(3), ArchiveError);
    ByteReader bits(bytes.data(), bytes.size());
    EXPECT_THROW(bits.ReadBitVector(17), ArchiveError);
}

TEST(ByteReader, RefusesCountsTheHeaderCannotHold)
{
    // A count of 2^56 items in a five-byte header would otherwise become a huge allocation.
    const std::vector<std::uint8_t> bytes = {0xFF, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
    ByteReader reader(bytes.data(), bytes.size());
    EXPECT_THROW(reader.ReadCount(), ArchiveError);
}

TEST(ByteReader, ReadsBitVectorsHighBitFirst)
{
    const std::vector<std::uint8_t> bytes = {0xA0, 0x80};
    ByteReader reader(bytes.data(), bytes.size());
    EXPECT_EQ(reader.ReadBitVector(9),
              (std::vector<bool>{true, false, true, false, false, false, false, false, true}));
}

}  // namespace
}  // namespace standins::archive
