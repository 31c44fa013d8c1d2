#include "standins/archive/extractor.h"

#include "standins/archive/archive_error.h"
#include "standins/archive/tests/memory_target.h"
#include "tests/support/fixture_files.h"
#include "tests/support/tiny_7z_writer.h"

#include <gtest/gtest.h>

namespace standins::archive {
namespace {

using testing::MemoryTarget;
using testing::RecordingEvents;
using testing::TinyEntry;
using testing::WriteTiny7z;

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

struct ExtractRun
{
    ErrorCode error = ErrorCode::None;
    MemoryTarget target;
    RecordingEvents events;
};

void Extract(const std::vector<std::uint8_t>& bytes, ExtractRun& run,
             PathMode mode = PathMode::KeepFolders, std::vector<bool> selected = {})
{
    MemoryByteSource source(bytes);
    try {
        SevenZipArchive archive(source);
        if (selected.empty()) {
            selected.assign(archive.Items().size(), true);
        }
        ExtractEntries(archive, selected, mode, run.target, run.events);
    } catch (const ArchiveError& failure) {
        run.error = failure.Code();
    }
}

TEST(Extractor, OneHostileNameFailsTheWholeExtractionBeforeAnyWrite)
{
    const std::vector<std::u16string> hostile = {
        u"..\\escaped.txt", u"docs\\..\\..\\escaped.txt",      u"C:\\escaped.txt", u"C:escaped.txt",
        u"\\escaped.txt",   u"\\\\server\\share\\escaped.txt", u"../escaped.txt",  u"nul",
    };
    for (const std::u16string& name : hostile) {
        ExtractRun run;
        Extract(WriteTiny7z({{u"first.txt", "harmless"}, {name, "payload"}, {u"last", "x"}}), run);
        EXPECT_EQ(run.error, ErrorCode::IllegalPath) << std::string(name.begin(), name.end());
        EXPECT_TRUE(run.target.files.empty());
        EXPECT_TRUE(run.target.folders.empty());
    }
}

TEST(Extractor, AHostileNameThatIsNotSelectedDoesNotMatter)
{
    ExtractRun run;
    Extract(WriteTiny7z({{u"first.txt", "harmless"}, {u"..\\escaped.txt", "payload"}}), run,
            PathMode::KeepFolders, {true, false});
    EXPECT_EQ(run.error, ErrorCode::None);
    EXPECT_EQ(run.target.files.size(), 1u);
}

TEST(Extractor, WritesEmptyFilesAndFoldersAndKeepsOrFlattensPaths)
{
    const auto archive = WriteTiny7z({
        {u"folder", "", true},
        {u"folder\\inner", "", true},
        {u"folder\\inner\\data.txt", "data"},
        {u"folder/empty.txt", ""},
    });
    ExtractRun kept;
    Extract(archive, kept);
    EXPECT_EQ(kept.error, ErrorCode::None);
    EXPECT_EQ(kept.target.folders, (std::set<std::u16string>{u"folder", u"folder\\inner"}));
    EXPECT_EQ(kept.target.files[u"folder\\inner\\data.txt"], Bytes("data"));
    EXPECT_EQ(kept.target.files.count(u"folder\\empty.txt"), 1u);
    EXPECT_TRUE(kept.target.files[u"folder\\empty.txt"].empty());

    ExtractRun flat;
    Extract(archive, flat, PathMode::NoFolders);
    EXPECT_EQ(flat.error, ErrorCode::None);
    EXPECT_TRUE(flat.target.folders.empty());
    EXPECT_EQ(flat.target.files.size(), 2u);
    EXPECT_EQ(flat.target.files[u"data.txt"], Bytes("data"));
    EXPECT_EQ(flat.target.files.count(u"empty.txt"), 1u);
}

TEST(Extractor, PicksSingleEntriesOutOfASolidBlock)
{
    // The last file of a solid LZMA2 block, then the first: the block is decoded again.
    MemoryByteSource source(testing::ReadFixture("lzma2.7z"));
    const SevenZipArchive archive(source);
    const auto& entries = testing::FixtureEntries();
    for (std::size_t pick : {std::size_t{6}, std::size_t{4}}) {
        std::vector<bool> selected(archive.Items().size(), false);
        selected[pick] = true;
        MemoryTarget target;
        RecordingEvents events;
        ExtractEntries(archive, selected, PathMode::KeepFolders, target, events);
        ASSERT_EQ(target.files.size(), 1u);
        EXPECT_TRUE(target.files[entries[pick].name] == testing::ExpectedContent(entries[pick]));
        EXPECT_EQ(events.started, std::vector<std::size_t>{pick});
    }
}

TEST(Extractor, ADataCrcMismatchRemovesThatFile)
{
    // A block with one file may carry its digest on the block instead of the entry.
    struct Case
    {
        std::vector<TinyEntry> entries;
        testing::TinyCrc crc;
        ErrorCode expected;
    };
    const std::vector<Case> cases = {
        {{{u"a.txt", "first"}, {u"b.txt", "second"}},
         testing::TinyCrc::PerEntryWrong,
         ErrorCode::DataCorrupt},
        {{{u"a.txt", "first"}}, testing::TinyCrc::OnBlockWrong, ErrorCode::DataCorrupt},
        {{{u"a.txt", "first"}}, testing::TinyCrc::OnBlock, ErrorCode::None},
    };
    for (const Case& c : cases) {
        ExtractRun run;
        Extract(WriteTiny7z(c.entries, c.crc), run);
        EXPECT_EQ(run.error, c.expected);
        if (c.expected != ErrorCode::None) {
            EXPECT_TRUE(run.target.files.empty());
            EXPECT_EQ(run.target.discarded, std::vector<std::u16string>{u"a.txt"});
        }
    }
}

TEST(Extractor, ProgressCountsBytesOfTheWholeExtractionAndCanStopIt)
{
    const auto archive = WriteTiny7z({{u"a.txt", "12345"}, {u"b.txt", "678"}});
    ExtractRun full;
    Extract(archive, full);
    ASSERT_EQ(full.error, ErrorCode::None);
    ASSERT_FALSE(full.events.progress.empty());
    EXPECT_EQ(full.events.progress.front().done, 0u);
    EXPECT_EQ(full.events.progress.back().done, 8u);
    for (const auto& step : full.events.progress) {
        EXPECT_EQ(step.total, 8u);
    }

    for (std::size_t stopAt = 1; stopAt <= full.events.progress.size(); ++stopAt) {
        ExtractRun stopped;
        stopped.events.stopAfterCalls = stopAt;
        Extract(archive, stopped);
        EXPECT_EQ(stopped.error, ErrorCode::Cancelled) << "stop at call " << stopAt;
        // The file being written when the caller stopped is not left half done.
        EXPECT_LT(stopped.target.files.size(), 2u);
        for (const auto& [name, data] : stopped.target.files) {
            EXPECT_TRUE(name == u"a.txt" && data == Bytes("12345"));
        }
    }
}

TEST(Extractor, AsksBeforeReplacingAnExistingFile)
{
    const auto archive = WriteTiny7z({{u"a.txt", "new"}, {u"b.txt", "other"}});
    for (bool replace : {true, false}) {
        ExtractRun run;
        run.target.files[u"a.txt"] = Bytes("old contents");
        run.events.replace = replace;
        Extract(archive, run);
        EXPECT_EQ(run.error, ErrorCode::None);
        EXPECT_EQ(run.events.asked, std::vector<std::size_t>{0});
        EXPECT_EQ(run.target.files[u"a.txt"], Bytes(replace ? "new" : "old contents"));
        EXPECT_EQ(run.target.files[u"b.txt"], Bytes("other"));
    }
}

}  // namespace
}  // namespace standins::archive
