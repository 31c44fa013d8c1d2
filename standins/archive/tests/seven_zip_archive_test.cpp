#include "standins/archive/seven_zip_archive.h"

#include "standins/archive/archive_error.h"
#include "standins/archive/crc32.h"
#include "standins/archive/tests/memory_target.h"
#include "tests/support/fixture_files.h"
#include "tests/support/tiny_7z_writer.h"

#include <gtest/gtest.h>

namespace standins::archive {
namespace {

using testing::ExpectedContent;
using testing::FixtureEntries;
using testing::MemoryTarget;
using testing::ReadFixture;
using testing::RecordingEvents;

ErrorCode OpenError(std::vector<std::uint8_t> bytes)
{
    MemoryByteSource source(std::move(bytes));
    try {
        SevenZipArchive archive(source);
    } catch (const ArchiveError& failure) {
        return failure.Code();
    }
    return ErrorCode::None;
}

ErrorCode ExtractError(const std::string& fixture, MemoryTarget& target)
{
    MemoryByteSource source(ReadFixture(fixture));
    try {
        SevenZipArchive archive(source);
        RecordingEvents events;
        ExtractEntries(archive, std::vector<bool>(archive.Items().size(), true),
                       PathMode::KeepFolders, target, events);
    } catch (const ArchiveError& failure) {
        return failure.Code();
    }
    return ErrorCode::None;
}

// Every coder setting 7-Zip was asked for: stored with a plain header, LZMA, LZMA2 solid and one
// block per file, and the x86 filter before LZMA and LZMA2; the others have packed headers.
const std::vector<std::string> kReadableFixtures = {
    "copy.7z", "lzma.7z", "lzma2.7z", "lzma2_multi.7z", "bcj_lzma.7z", "bcj_lzma2.7z",
};

TEST(SevenZipArchive, ListsWhat7ZipStored)
{
    for (const std::string& fixture : kReadableFixtures) {
        SCOPED_TRACE(fixture);
        MemoryByteSource source(ReadFixture(fixture));
        const SevenZipArchive archive(source);
        const auto& items = archive.Items();
        ASSERT_EQ(items.size(), FixtureEntries().size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto& expected = FixtureEntries()[i];
            EXPECT_TRUE(items[i].name == expected.name) << "entry " << i;
            EXPECT_EQ(items[i].isFolder, expected.isFolder) << "entry " << i;
            EXPECT_EQ(items[i].folder.has_value(), !expected.isFolder && i != 3) << "entry " << i;
            if (!expected.isFolder) {
                EXPECT_EQ(items[i].size, ExpectedContent(expected).size()) << "entry " << i;
                EXPECT_EQ(items[i].crc.has_value(), items[i].size != 0) << "entry " << i;
                EXPECT_TRUE(items[i].modified.has_value());
            }
        }
    }
}

TEST(SevenZipArchive, ExtractsEveryCoderToTheBytesThatWentIn)
{
    for (const std::string& fixture : kReadableFixtures) {
        SCOPED_TRACE(fixture);
        MemoryTarget target;
        ASSERT_EQ(ExtractError(fixture, target), ErrorCode::None);
        for (const auto& entry : FixtureEntries()) {
            if (entry.isFolder) {
                EXPECT_EQ(target.folders.count(entry.name), 1u);
                continue;
            }
            ASSERT_EQ(target.files.count(entry.name), 1u);
            EXPECT_TRUE(target.files[entry.name] == ExpectedContent(entry));
        }
    }
}

TEST(SevenZipArchive, ReportsDamagedDataAndLeavesNoDamagedFile)
{
    MemoryTarget target;
    EXPECT_EQ(ExtractError("damaged.7z", target), ErrorCode::DataCorrupt);
    EXPECT_EQ(target.files.count(u"readme.txt"), 0u);
    EXPECT_EQ(target.discarded, std::vector<std::u16string>{u"readme.txt"});
}

TEST(SevenZipArchive, ChecksTheDigestOfABlockWithOneFile)
{
    MemoryTarget target;
    EXPECT_EQ(ExtractError("damaged_block.7z", target), ErrorCode::DataCorrupt);
    EXPECT_EQ(target.files.count(u"docs\\noise.bin"), 0u);
    EXPECT_EQ(target.files.count(u"docs\\deeper\\program.exe"), 1u);
}

TEST(SevenZipArchive, EncryptedDataCannotBeOpened)
{
    // Listing works where only the data is encrypted; both fail once data or names are needed.
    MemoryTarget target;
    EXPECT_EQ(ExtractError("encrypted.7z", target), ErrorCode::CannotOpen);
    EXPECT_TRUE(target.files.empty());
    EXPECT_EQ(OpenError(ReadFixture("encrypted_header.7z")), ErrorCode::CannotOpen);
}

TEST(SevenZipArchive, RefusesFilesThatAreNotSoundArchives)
{
    const std::vector<std::uint8_t> good = ReadFixture("lzma2.7z");
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        ErrorCode expected;
    };
    std::vector<Case> cases = {
        {"empty file", {}, ErrorCode::CannotOpen},
        {"plain text", std::vector<std::uint8_t>(64, 'x'), ErrorCode::CannotOpen},
        {"signature only", std::vector<std::uint8_t>(good.begin(), good.begin() + 32),
         ErrorCode::CannotOpen},
        {"cut in half", std::vector<std::uint8_t>(good.begin(), good.begin() + good.size() / 2),
         ErrorCode::CannotOpen},
    };
    Case startCrc{"start header changed", good, ErrorCode::CannotOpen};
    startCrc.bytes[13] ^= 1;
    cases.push_back(startCrc);
    Case headerCrc{"packed header changed", good, ErrorCode::CannotOpen};
    headerCrc.bytes[headerCrc.bytes.size() - 3] ^= 1;
    cases.push_back(headerCrc);
    for (const Case& c : cases) {
        EXPECT_EQ(OpenError(c.bytes), c.expected) << c.what;
    }
}

void PutUInt32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

TEST(SevenZipArchive, SurvivesAHeaderDamagedAnywhere)
{
    // Every byte of a small plain header changed in turn, with the CRCs made right again so the
    // parser sees the damage: opening and extracting either work or fail with an ArchiveError,
    // never touching memory outside the buffers (the native build's sanitizers watch that).
    const std::vector<std::uint8_t> good = testing::WriteTiny7z({
        {u"folder", "", true},
        {u"folder\\one.txt", "first file"},
        {u"empty.txt", ""},
        {u"two.txt", "second file, a little longer"},
    });
    const std::size_t headerSize = good[20] | good[21] << 8;
    const std::size_t headerStart = good.size() - headerSize;
    for (std::size_t at = headerStart; at < good.size(); ++at) {
        for (std::uint8_t flip : {0x01, 0x02, 0x10, 0x80, 0xFF}) {
            std::vector<std::uint8_t> bytes = good;
            bytes[at] ^= flip;
            PutUInt32(bytes, 28, Crc32(bytes.data() + headerStart, headerSize));
            PutUInt32(bytes, 8, Crc32(bytes.data() + 12, 20));
            MemoryByteSource source(std::move(bytes));
            try {
                SevenZipArchive archive(source);
                MemoryTarget target;
                RecordingEvents events;
                ExtractEntries(archive, std::vector<bool>(archive.Items().size(), true),
                               PathMode::KeepFolders, target, events);
            } catch (const ArchiveError&) {
            }
        }
    }
}

TEST(SevenZipArchive, SurvivesRandomDamageToItsHeader)
{
    // Several bytes changed at once, in many rounds with a fixed seed, on header layouts with
    // entry and block digests: the same promise as above for damage one byte cannot make.
    const std::vector<std::vector<std::uint8_t>> seeds = {
        testing::WriteTiny7z({{u"a", "", true},
                              {u"a\\one.txt", "first file"},
                              {u"empty.txt", ""},
                              {u"a\\two.txt", "second"},
                              {u"b", "", true}}),
        testing::WriteTiny7z({{u"only.txt", "the single file"}, {u"empty", ""}},
                             testing::TinyCrc::OnBlock),
    };
    std::uint32_t state = 2024;
    const auto next = [&state](std::uint32_t limit) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % limit;
    };
    for (const std::vector<std::uint8_t>& good : seeds) {
        const std::size_t headerSize = good[20] | good[21] << 8;
        const std::size_t headerStart = good.size() - headerSize;
        for (int round = 0; round < 3000; ++round) {
            std::vector<std::uint8_t> bytes = good;
            for (std::uint32_t changes = 1 + next(4); changes != 0; --changes) {
                bytes[headerStart + next(static_cast<std::uint32_t>(headerSize))] =
                    static_cast<std::uint8_t>(next(256));
            }
            PutUInt32(bytes, 28, Crc32(bytes.data() + headerStart, headerSize));
            PutUInt32(bytes, 8, Crc32(bytes.data() + 12, 20));
            MemoryByteSource source(std::move(bytes));
            try {
                SevenZipArchive archive(source);
                MemoryTarget target;
                RecordingEvents events;
                ExtractEntries(archive, std::vector<bool>(archive.Items().size(), true),
                               PathMode::KeepFolders, target, events);
            } catch (const ArchiveError&) {
            }
        }
    }
}

}  // namespace
}  // namespace standins::archive
