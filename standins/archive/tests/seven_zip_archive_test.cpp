#include "standins/archive/seven_zip_archive.h"

#include "standins/archive/archive_error.h"
#include "standins/archive/crc32.h"
#include "standins/archive/folder_decoder.h"
#include "standins/archive/seven_zip_aes.h"
#include "standins/archive/tests/memory_target.h"
#include "tests/support/fixture_files.h"
#include "tests/support/tiny_7z_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>

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

ErrorCode ExtractError(const std::string& fixture, MemoryTarget& target,
                       std::optional<std::u16string> password = std::nullopt)
{
    MemoryByteSource source(ReadFixture(fixture));
    ArchivePassword secret([&] { return password; });
    try {
        SevenZipArchive archive(source, &secret);
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

TEST(SevenZipArchive, EncryptedArchivesOpenWithTheirPasswordOnly)
{
    for (const std::string fixture : {"encrypted.7z", "encrypted_header.7z"}) {
        SCOPED_TRACE(fixture);
        MemoryTarget target;
        ASSERT_EQ(ExtractError(fixture, target, u"secret"), ErrorCode::None);
        for (const auto& entry : FixtureEntries()) {
            if (!entry.isFolder) {
                ASSERT_EQ(target.files.count(entry.name), 1u);
                EXPECT_TRUE(target.files[entry.name] == ExpectedContent(entry));
            }
        }
        MemoryTarget wrong;
        EXPECT_EQ(ExtractError(fixture, wrong, u"Secret"), ErrorCode::CannotOpen);
        EXPECT_TRUE(wrong.files.empty());
        EXPECT_TRUE(wrong.discarded.empty());
    }
}

TEST(SevenZipArchive, AesKeysAreStretchedOverSaltPasswordAndCounter)
{
    // Checked against Python's hashlib over the same rounds.
    AesCoderProperties properties;
    properties.cyclesPower = 3;
    properties.salt = {1, 2, 3};
    const AesKey key = DeriveAesKey(properties, u"ab");
    std::string hex;
    for (const std::uint8_t byte : key) {
        static const char kDigits[] = "0123456789abcdef";
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    EXPECT_EQ(hex, "54164e2e854be6f7e221ed4694792ea4b1f140f16a24d85e5dac13fcd358ce18");

    properties.cyclesPower = kNoKeyStretching;
    const AesKey plain = DeriveAesKey(properties, u"ab");
    EXPECT_EQ(plain[0], 1);
    EXPECT_EQ(plain[3], 'a');
    EXPECT_EQ(plain[5], 'b');
    EXPECT_EQ(plain[7], 0);

    // Properties: power 19 with a salt of 1 + 1 bytes and an initial vector of 1 + 15 bytes.
    std::vector<std::uint8_t> bytes = {0x80 | 0x40 | 19, 0x1F, 0xAA, 0xBB};
    for (int i = 0; i < 16; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i));
    const AesCoderProperties parsed = ParseAesProperties(bytes);
    EXPECT_EQ(parsed.cyclesPower, 19u);
    EXPECT_EQ(parsed.salt, (std::vector<std::uint8_t>{0xAA, 0xBB}));
    EXPECT_EQ(parsed.iv[15], 15);
    bytes.pop_back();
    EXPECT_THROW(ParseAesProperties(bytes), ArchiveError);
    EXPECT_THROW(ParseAesProperties({0x3E}), ArchiveError);  // a power that would never end
    EXPECT_THROW(ParseAesProperties({}), ArchiveError);

    ArchivePassword none;
    EXPECT_THROW(none.KeyFor(parsed), ArchiveError);
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

TEST(FolderDecoder, AllocatesNoDictionaryLargerThanTheOutput)
{
    struct Case
    {
        std::uint32_t requested;
        std::uint64_t output;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0xFFFFFFFFu, 300, 4096},  // never below liblzma's smallest dictionary
        {1u << 30, 5000, 5000},
        {1u << 16, 1u << 20, 1u << 16},
        {0xFFFFFFFFu, std::uint64_t{1} << 40, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BoundedDictionarySize(c.requested, c.output), c.expected)
            << c.requested << " for " << c.output;
    }
}

TEST(SevenZipArchive, ReadsAPackedHeaderWhoseCoderAsksForAHugeDictionary)
{
    // The packed header's LZMA coder (flags 0x23, method 03 01 01, five property bytes) changed to
    // ask for a 4 GiB dictionary, with the header digests made right again.
    std::vector<std::uint8_t> bytes = ReadFixture("lzma.7z");
    const std::uint8_t coder[] = {0x23, 0x03, 0x01, 0x01, 0x05};
    const auto found =
        std::search(bytes.begin() + 32, bytes.end(), std::begin(coder), std::end(coder));
    ASSERT_NE(found, bytes.end());
    std::fill(found + 6, found + 10, 0xFF);
    const std::size_t headerSize = bytes[20] | bytes[21] << 8;
    PutUInt32(bytes, 28, Crc32(bytes.data() + bytes.size() - headerSize, headerSize));
    PutUInt32(bytes, 8, Crc32(bytes.data() + 12, 20));

    MemoryByteSource source(std::move(bytes));
    const SevenZipArchive archive(source);
    EXPECT_EQ(archive.Items().size(), FixtureEntries().size());
}

// Where damaged bytes got to: refused on opening, refused while extracting, or extracted.
struct DamageTally
{
    int refusedOnOpening = 0;
    int refusedWhileExtracting = 0;
    int extracted = 0;
};

bool IsOneOf(ErrorCode code, std::initializer_list<ErrorCode> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Opens and extracts the bytes. Opening may only refuse as an unreadable archive; extracting may
// refuse for damaged data or an unsafe name and then leaves only files it finished. Otherwise
// every entry is written with the size and digest its header gives (a later entry of the same name
// replaces an earlier one).
void OpenAndExtract(std::vector<std::uint8_t> bytes, DamageTally& tally)
{
    MemoryByteSource source(std::move(bytes));
    std::optional<SevenZipArchive> archive;
    try {
        archive.emplace(source);
    } catch (const ArchiveError& failure) {
        EXPECT_TRUE(IsOneOf(failure.Code(), {ErrorCode::CannotOpen, ErrorCode::DataCorrupt}))
            << failure.what();
        ++tally.refusedOnOpening;
        return;
    }
    MemoryTarget target;
    RecordingEvents events;
    try {
        ExtractEntries(*archive, std::vector<bool>(archive->Items().size(), true),
                       PathMode::KeepFolders, target, events);
    } catch (const ArchiveError& failure) {
        EXPECT_TRUE(IsOneOf(failure.Code(), {ErrorCode::CannotOpen, ErrorCode::DataCorrupt,
                                             ErrorCode::IllegalPath}))
            << failure.what();
        for (const auto& file : target.files) {
            EXPECT_EQ(target.times.count(file.first), 1u) << "a file left unfinished";
        }
        ++tally.refusedWhileExtracting;
        return;
    }
    EXPECT_TRUE(target.discarded.empty());
    std::map<std::u16string, const ArchiveItem*> lastOfName;
    for (const ArchiveItem& item : archive->Items()) {
        if (item.isFolder) {
            EXPECT_EQ(target.folders.count(item.name), 1u);
        } else {
            lastOfName[item.name] = &item;
        }
    }
    EXPECT_EQ(target.files.size(), lastOfName.size());
    for (const auto& [name, item] : lastOfName) {
        const auto written = target.files.find(name);
        ASSERT_NE(written, target.files.end());
        EXPECT_EQ(written->second.size(), item->size);
        if (item->crc) {
            EXPECT_EQ(Crc32(written->second.data(), written->second.size()), *item->crc);
        }
    }
    ++tally.extracted;
}

TEST(SevenZipArchive, SurvivesAHeaderDamagedAnywhere)
{
    // Every byte of a small plain header changed in turn, with the CRCs made right again so the
    // parser sees the damage. The native build's sanitizers watch the memory accesses.
    const std::vector<std::uint8_t> good = testing::WriteTiny7z({
        {u"folder", "", true},
        {u"folder\\one.txt", "first file"},
        {u"empty.txt", ""},
        {u"two.txt", "second file, a little longer"},
    });
    DamageTally undamaged;
    OpenAndExtract(good, undamaged);
    EXPECT_EQ(undamaged.extracted, 1);

    const std::size_t headerSize = good[20] | good[21] << 8;
    const std::size_t headerStart = good.size() - headerSize;
    DamageTally tally;
    for (std::size_t at = headerStart; at < good.size(); ++at) {
        for (std::uint8_t flip : {0x01, 0x02, 0x10, 0x80, 0xFF}) {
            std::vector<std::uint8_t> bytes = good;
            bytes[at] ^= flip;
            PutUInt32(bytes, 28, Crc32(bytes.data() + headerStart, headerSize));
            PutUInt32(bytes, 8, Crc32(bytes.data() + 12, 20));
            OpenAndExtract(std::move(bytes), tally);
        }
    }
    // Damage to the structure is refused, but a changed letter of a name or a time is not.
    EXPECT_GT(tally.refusedOnOpening, 0);
    EXPECT_GT(tally.refusedWhileExtracting, 0);
    EXPECT_GT(tally.extracted, 0);
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
        DamageTally tally;
        for (int round = 0; round < 3000; ++round) {
            std::vector<std::uint8_t> bytes = good;
            for (std::uint32_t changes = 1 + next(4); changes != 0; --changes) {
                bytes[headerStart + next(static_cast<std::uint32_t>(headerSize))] =
                    static_cast<std::uint8_t>(next(256));
            }
            PutUInt32(bytes, 28, Crc32(bytes.data() + headerStart, headerSize));
            PutUInt32(bytes, 8, Crc32(bytes.data() + 12, 20));
            OpenAndExtract(std::move(bytes), tally);
        }
        EXPECT_GT(tally.refusedOnOpening, 0);
        EXPECT_GT(tally.extracted, 0);
    }
}

}  // namespace
}  // namespace standins::archive
