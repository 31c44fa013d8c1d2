// The archive library through its import table, as the setup program binds it, on real files.
#include "setup/media/archive_library.h"

#include "core/text_convert.h"
#include "tests/support/fixture_files.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/tiny_7z_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace standins::archive {
namespace {

using namespace setup::media;
using testing::ExpectedContent;
using testing::FixtureEntries;
using testing::FixturePath;
using testsupport::ScratchFolder;

const std::vector<std::string> kReadableFixtures = {
    "copy.7z", "lzma.7z", "lzma2.7z", "lzma2_multi.7z", "bcj_lzma.7z", "bcj_lzma2.7z",
};

std::wstring Wide(const std::u16string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Ansi(const std::wstring& text)
{
    return core::WideToAnsi(text);
}

// What the callbacks saw, and how they answer.
struct CallbackLog
{
    std::vector<std::string> progressNames;
    std::uint64_t lastDone = 0;
    std::uint64_t lastTotal = 0;
    int progressCalls = 0;
    int stopAtProgressCall = -1;
    std::vector<std::int32_t> notified;
    std::vector<std::int32_t> queried;
    int queryAnswer = kArchiveAnswerReplace;
};
CallbackLog g_log;

int __stdcall RecordProgress(const char* name, std::uint64_t done, std::uint64_t total)
{
    g_log.progressNames.emplace_back(name);
    g_log.lastDone = done;
    g_log.lastTotal = total;
    return ++g_log.progressCalls == g_log.stopAtProgressCall ? 0 : 1;
}

int __stdcall RecordNotify(std::int32_t index, std::int32_t)
{
    g_log.notified.push_back(index);
    return 1;
}

int __stdcall RecordQuery(std::int32_t kind, std::int32_t index, std::uint32_t, std::uint32_t,
                          std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                          std::uint32_t)
{
    EXPECT_EQ(kind, kArchiveQueryReplace);
    g_log.queried.push_back(index);
    return g_log.queryAnswer;
}

std::int32_t Extract(const std::string& archive, const std::wstring& target,
                     std::vector<std::string> names = {}, bool all = true,
                     std::int32_t mode = kArchiveModeFullPaths)
{
    g_log = {};
    std::vector<char*> pointers;
    for (std::string& name : names) {
        pointers.push_back(name.data());
    }
    TSZW_TARGETFILES list{pointers.data(), static_cast<std::uint32_t>(pointers.size())};
    return ExtractArchive(archive.c_str(), 1, Ansi(target).c_str(), all ? nullptr : &list, mode, "",
                          nullptr, RecordProgress, RecordNotify, RecordQuery);
}

class QbrArchive : public ::testing::Test
{
protected:
    ScratchFolder m_scratch;

    // Writes a test-made archive and returns its ANSI path.
    std::string WriteArchive(const std::vector<testing::TinyEntry>& entries)
    {
        const std::wstring path = m_scratch / L"made.7z";
        testsupport::WriteWholeFile(path, testing::WriteTiny7z(entries));
        return Ansi(path);
    }
};

TEST_F(QbrArchive, ListsEntriesWithAnsiNamesSizesAndTimes)
{
    for (const std::string& fixture : kReadableFixtures) {
        SCOPED_TRACE(fixture);
        ArchiveEntry* entries = nullptr;
        std::int32_t count = -1;
        ArchiveHandle handle = OpenListArchive(FixturePath(fixture).c_str(), 0, nullptr, 0, 0, 0,
                                               "", &entries, &count);
        ASSERT_NE(handle, nullptr) << GetLastArchiveError();
        ASSERT_EQ(count, static_cast<std::int32_t>(FixtureEntries().size()));
        for (std::int32_t i = 0; i < count; ++i) {
            const auto& expected = FixtureEntries()[i];
            EXPECT_EQ(entries[i].name, Ansi(Wide(expected.name)));
            EXPECT_EQ((entries[i].flags & kArchiveEntryFolder) != 0, expected.isFolder);
            EXPECT_EQ((entries[i].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, expected.isFolder);
            EXPECT_NE(entries[i].time.dwHighDateTime, 0u);
            EXPECT_EQ(entries[i].index, static_cast<std::uint32_t>(i));
            if (!expected.isFolder) {
                EXPECT_EQ(entries[i].size, ExpectedContent(expected).size());
            }
        }
        EXPECT_EQ(CloseListArchive(handle), 1);
        EXPECT_EQ(CloseListArchive(handle), 0);
    }
}

TEST_F(QbrArchive, OpeningFailuresCarryTheirCodes)
{
    const std::wstring notArchive = m_scratch / L"plain.txt";
    testsupport::WriteWholeFile(notArchive, std::vector<std::uint8_t>(100, 'x'));
    struct Case
    {
        std::string path;
        std::int32_t code;
    };
    const std::vector<Case> cases = {
        {FixturePath("no such archive.7z"), kArchiveErrorNotFound},
        {FixturePath("no such folder/a.7z"), kArchiveErrorNotFound},
        {Ansi(notArchive), kArchiveErrorCannotOpen},
        {FixturePath("encrypted_header.7z"), kArchiveErrorCannotOpen},
    };
    for (const Case& c : cases) {
        ArchiveEntry* entries = nullptr;
        std::int32_t count = 0;
        EXPECT_EQ(OpenListArchive(c.path.c_str(), 0, nullptr, 0, 0, 0, "", &entries, &count),
                  nullptr);
        EXPECT_EQ(GetLastArchiveError(), c.code) << c.path;
        g_log = {};
        EXPECT_EQ(ExtractArchive(c.path.c_str(), 1, Ansi(m_scratch.Path()).c_str(), nullptr, 0, "",
                                 nullptr, RecordProgress, RecordNotify, RecordQuery),
                  0);
        EXPECT_EQ(GetLastArchiveError(), c.code) << c.path;
    }
}

TEST_F(QbrArchive, ExtractsEveryCoderWithUnicodeNamesAndTimes)
{
    for (const std::string& fixture : kReadableFixtures) {
        SCOPED_TRACE(fixture);
        const std::wstring target = m_scratch / std::wstring(fixture.begin(), fixture.end());
        ASSERT_EQ(Extract(FixturePath(fixture), target), 1) << GetLastArchiveError();
        EXPECT_EQ(g_log.lastDone, g_log.lastTotal);
        for (const auto& entry : FixtureEntries()) {
            const std::wstring path = target + L"\\" + Wide(entry.name);
            if (entry.isFolder) {
                EXPECT_TRUE(testsupport::FolderExists(path));
                continue;
            }
            ASSERT_TRUE(testsupport::FileExists(path));
            EXPECT_TRUE(testsupport::ReadWholeFile(path) == ExpectedContent(entry));
        }
    }
}

TEST_F(QbrArchive, HostileNamesFailTheExtractionAndWriteNothing)
{
    const std::wstring target = m_scratch / L"target";
    const std::vector<std::u16string> hostile = {
        u"..\\escaped.txt", u"inner\\..\\..\\escaped.txt",
        u"../escaped.txt",  u"\\escaped.txt",
        u"Z:\\escaped.txt", u"\\\\localhost\\share\\escaped.txt",
    };
    for (const std::u16string& name : hostile) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        const std::string archive =
            WriteArchive({{u"inner\\first.txt", "harmless"}, {name, "payload"}});
        EXPECT_EQ(Extract(archive, target), 0);
        EXPECT_EQ(GetLastArchiveError(), kArchiveErrorIllegalPath);
        EXPECT_TRUE(testsupport::FolderNames(target).empty());
        EXPECT_FALSE(testsupport::FileExists(m_scratch / L"escaped.txt"));
    }
}

TEST_F(QbrArchive, ProgressReturningZeroFailsTheExtraction)
{
    const std::wstring target = m_scratch / L"target";
    g_log = {};
    const std::string archive = FixturePath("lzma2.7z");
    for (int stopAt : {1, 3}) {
        g_log = {};
        g_log.stopAtProgressCall = stopAt;
        std::vector<char*> none;
        ASSERT_EQ(ExtractArchive(archive.c_str(), 1, Ansi(target).c_str(), nullptr, 0, "", nullptr,
                                 RecordProgress, RecordNotify, RecordQuery),
                  0);
        EXPECT_EQ(GetLastArchiveError(), kArchiveErrorCancelled);
        EXPECT_EQ(g_log.progressCalls, stopAt);
    }
    // The entry being written when the caller stopped is not left behind.
    EXPECT_FALSE(testsupport::FileExists(target + L"\\docs\\deeper\\program.exe"));
}

TEST_F(QbrArchive, ReportsDamagedDataAndRemovesTheDamagedFile)
{
    const std::wstring target = m_scratch / L"target";
    EXPECT_EQ(Extract(FixturePath("damaged.7z"), target), 0);
    EXPECT_EQ(GetLastArchiveError(), kArchiveErrorDataCorrupt);
    EXPECT_FALSE(testsupport::FileExists(target + L"\\readme.txt"));
}

TEST_F(QbrArchive, ExtractsListedEntriesOnlyAndFailsForUnknownOnes)
{
    const std::wstring target = m_scratch / L"target";
    ASSERT_EQ(Extract(FixturePath("bcj_lzma2.7z"), target, {"DOCS/noise.bin"}, false), 1);
    EXPECT_EQ(testsupport::FolderNames(target), std::vector<std::wstring>{L"docs"});
    EXPECT_EQ(testsupport::FolderNames(target + L"\\docs"),
              std::vector<std::wstring>{L"noise.bin"});
    EXPECT_EQ(g_log.progressNames.back(), "docs\\noise.bin");
    EXPECT_EQ(g_log.notified, std::vector<std::int32_t>{5});

    EXPECT_EQ(Extract(FixturePath("bcj_lzma2.7z"), target, {"readme.txt", "missing.txt"}, false),
              0);
    EXPECT_EQ(GetLastArchiveError(), kArchiveErrorEntryMissing);
}

TEST_F(QbrArchive, ModeOneWritesBareNamesIntoTheTarget)
{
    const std::wstring target = m_scratch / L"target";
    ASSERT_EQ(Extract(FixturePath("lzma.7z"), target, {"docs\\deeper\\program.exe", "readme.txt"},
                      false, kArchiveModeNoPaths),
              1);
    auto names = testsupport::FolderNames(target);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"program.exe", L"readme.txt"}));
}

TEST_F(QbrArchive, QueryAnswerDecidesWhetherAnExistingFileIsReplaced)
{
    const std::wstring target = m_scratch / L"target";
    ::CreateDirectoryW(target.c_str(), nullptr);
    for (int answer : {kArchiveAnswerKeep, kArchiveAnswerReplace}) {
        testsupport::WriteWholeFile(target + L"\\readme.txt", {'o', 'l', 'd'});
        g_log = {};
        g_log.queryAnswer = answer;
        const std::string archive = FixturePath("copy.7z");
        char name[] = "readme.txt";
        char* names[] = {name};
        TSZW_TARGETFILES list{names, 1};
        ASSERT_EQ(ExtractArchive(archive.c_str(), 1, Ansi(target).c_str(), &list, 0, "", nullptr,
                                 RecordProgress, RecordNotify, RecordQuery),
                  1);
        EXPECT_EQ(g_log.queried, std::vector<std::int32_t>{6});
        const auto data = testsupport::ReadWholeFile(target + L"\\readme.txt");
        EXPECT_EQ(data.size() == 3, answer == kArchiveAnswerKeep);
    }
}

TEST(QbrArchiveImage, EndsWhereItsSectionsEnd)
{
    // Start-up reads data appended to the library right after its last section, so the file must
    // carry nothing there of its own (an unstripped image has its symbol table there).
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameW(::GetModuleHandleW(L"qbr.lib"), path, MAX_PATH), 0u);
    const std::vector<std::uint8_t> image = testsupport::ReadWholeFile(path);
    const auto& dos = *reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto& file = *reinterpret_cast<const IMAGE_FILE_HEADER*>(image.data() + dos.e_lfanew + 4);
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        image.data() + dos.e_lfanew + 4 + sizeof(IMAGE_FILE_HEADER) + file.SizeOfOptionalHeader);
    std::size_t end = 0;
    for (int i = 0; i < file.NumberOfSections; ++i) {
        end = std::max<std::size_t>(end, sections[i].PointerToRawData + sections[i].SizeOfRawData);
    }
    EXPECT_EQ(end, image.size());
    EXPECT_EQ(file.PointerToSymbolTable, 0u);
}

}  // namespace
}  // namespace standins::archive
