// The archive wrapper against the stand-in archive library, on real files under Wine.
#include "setup/media/archive_wrapper.h"

#include "setup/media/archive_target_list.h"
#include "setup/media/archive_time_text_win32.h"

#include "core/text_convert.h"
#include "tests/support/fixture_files.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/tiny_7z_writer.h"

#include <gtest/gtest.h>

namespace setup::media {
namespace {

using standins::archive::testing::FixtureEntries;
using standins::archive::testing::FixturePath;
using testsupport::ScratchFolder;
namespace fs = standins::archive::testing;

std::string Ansi(const std::wstring& text)
{
    return core::WideToAnsi(text);
}

int g_progressCalls = 0;
int __stdcall StopAtSecondProgress(const char*, std::uint64_t, std::uint64_t)
{
    return ++g_progressCalls >= 2 ? 0 : 1;
}

class ArchiveWrapper : public ::testing::Test
{
protected:
    ScratchFolder m_scratch;
    std::string m_target = Ansi(m_scratch / L"target");
    std::string m_error = "stale text";

    std::string WriteArchive(const std::vector<fs::TinyEntry>& entries)
    {
        const std::wstring path = m_scratch / L"made.7z";
        testsupport::WriteWholeFile(path, fs::WriteTiny7z(entries));
        return Ansi(path);
    }
};

TEST_F(ArchiveWrapper, ExtractsTheWholeArchiveByListingItFirst)
{
    ASSERT_TRUE(
        ExtractArchiveFiles(FixturePath("bcj_lzma2.7z"), "", m_target, true, true, m_error));
    EXPECT_EQ(m_error, "");
    for (const auto& entry : FixtureEntries()) {
        const std::wstring path =
            m_scratch / (L"target\\" + std::wstring(entry.name.begin(), entry.name.end()));
        EXPECT_TRUE(entry.isFolder ? testsupport::FolderExists(path)
                                   : testsupport::FileExists(path));
    }
}

TEST_F(ArchiveWrapper, FailuresBecomeTheCallersTexts)
{
    struct Case
    {
        const char* what;
        std::string archive;
        std::string error;
    };
    const std::string notArchive = Ansi(m_scratch / L"plain.txt");
    testsupport::WriteWholeFile(m_scratch / L"plain.txt", std::vector<std::uint8_t>(64, 'x'));
    const std::vector<Case> cases = {
        // Listing fails first: the opening texts, kept unchanged for the media worker's check.
        {"missing", FixturePath("missing.7z"), "The archive file was not found"},
        {"not an archive", notArchive,
         "The archive cannot be opened: unsupported archive or incorrect password"},
        {"encrypted names", FixturePath("encrypted_header.7z"),
         "The archive cannot be opened: unsupported archive or incorrect password"},
        // Listing works, extracting fails: the number sign and the library's code.
        {"encrypted data without a password", FixturePath("encrypted.7z"), "#1003"},
        {"damaged data", FixturePath("damaged.7z"), "#1005"},
        {"hostile name", WriteArchive({{u"ok.txt", "ok"}, {u"..\\..\\escaped.txt", "x"}}), "#1002"},
    };
    for (const Case& c : cases) {
        m_error = "stale text";
        EXPECT_FALSE(ExtractArchiveFiles(c.archive, "", m_target, true, true, m_error)) << c.what;
        EXPECT_EQ(m_error, c.error) << c.what;
    }
    EXPECT_FALSE(testsupport::FileExists(m_scratch / L"escaped.txt"));
}

TEST_F(ArchiveWrapper, EncryptedArchivesNeedTheirPassword)
{
    struct Case
    {
        const char* archive;
        const char* password;
        std::string error;
    };
    const std::string cannotOpen =
        "The archive cannot be opened: unsupported archive or incorrect password";
    const std::vector<Case> cases = {
        {"encrypted_header.7z", "secret", ""},
        {"encrypted.7z", "secret", ""},
        // Encrypted names fail the listing; encrypted data the extraction, before any file.
        {"encrypted_header.7z", "wrong", cannotOpen},
        {"encrypted.7z", "wrong", "#1003"},
        {"encrypted.7z", "", "#1003"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.archive) + " " + c.password);
        testsupport::ScratchFolder target;
        const std::string folder = Ansi(target.Path());
        EXPECT_EQ(
            ExtractArchiveFiles(FixturePath(c.archive), c.password, folder, true, true, m_error),
            c.error.empty());
        EXPECT_EQ(m_error, c.error);
        EXPECT_EQ(testsupport::FileExists(target / L"readme.txt"), c.error.empty());
        EXPECT_EQ(testsupport::FileExists(target / L"docs\\noise.bin"), c.error.empty());
    }
}

TEST_F(ArchiveWrapper, OpenErrorTextsByCode)
{
    EXPECT_EQ(OpenErrorText(1001), "The archive file was not found");
    EXPECT_EQ(OpenErrorText(1002), "Illegal path used in a wildcard expression");
    EXPECT_EQ(OpenErrorText(1003),
              "The archive cannot be opened: unsupported archive or incorrect password");
    for (std::int32_t other : {0, 1000, 1004, -1}) {
        EXPECT_EQ(OpenErrorText(other), "General failure opening archive");
    }
}

TEST_F(ArchiveWrapper, ExtractsListedEntriesWithOrWithoutTheirFolders)
{
    const rtl::TStringList entries{"docs\\deeper\\program.exe", "readme.txt"};
    ASSERT_TRUE(
        ExtractArchiveFiles(FixturePath("lzma.7z"), "", m_target, true, true, m_error, &entries));
    EXPECT_TRUE(testsupport::FileExists(m_scratch / L"target\\docs\\deeper\\program.exe"));
    EXPECT_FALSE(testsupport::FileExists(m_scratch / L"target\\docs\\noise.bin"));

    const std::string flat = Ansi(m_scratch / L"flat");
    ASSERT_TRUE(
        ExtractArchiveFiles(FixturePath("lzma.7z"), "", flat, false, true, m_error, &entries));
    EXPECT_TRUE(testsupport::FileExists(m_scratch / L"flat\\program.exe"));
    EXPECT_EQ(testsupport::FolderNames(m_scratch / L"flat").size(), 2u);

    const rtl::TStringList unknown{"not in the archive.txt"};
    EXPECT_FALSE(
        ExtractArchiveFiles(FixturePath("lzma.7z"), "", m_target, true, true, m_error, &unknown));
    EXPECT_EQ(m_error, "#1004");
}

TEST_F(ArchiveWrapper, TheAnswerFlagDecidesOverExistingFiles)
{
    const rtl::TStringList entries{"readme.txt"};
    for (bool answer : {false, true}) {
        ::CreateDirectoryW((m_scratch / L"target").c_str(), nullptr);
        testsupport::WriteWholeFile(m_scratch / L"target\\readme.txt", {'o', 'l', 'd'});
        ASSERT_TRUE(ExtractArchiveFiles(FixturePath("copy.7z"), "", m_target, true, answer, m_error,
                                        &entries));
        const bool replaced =
            testsupport::ReadWholeFile(m_scratch / L"target\\readme.txt").size() != 3;
        EXPECT_EQ(replaced, answer);
    }
}

TEST_F(ArchiveWrapper, AProgressCallbackReturningZeroFailsTheExtraction)
{
    g_progressCalls = 0;
    EXPECT_FALSE(ExtractArchiveFiles(FixturePath("lzma2.7z"), "", m_target, true, true, m_error,
                                     nullptr, StopAtSecondProgress));
    EXPECT_EQ(m_error, "#1006");
    EXPECT_EQ(g_progressCalls, 2);
}

TEST_F(ArchiveWrapper, ListsIntoClearedListsOneLinePerEntry)
{
    rtl::TStringList names{"stale"};
    rtl::TStringList values{"stale"};
    rtl::TStringList sizes{"stale"};
    rtl::TStringList packed{"stale"};
    rtl::TStringList times{"stale"};
    ASSERT_TRUE(ListArchive(FixturePath("lzma2_multi.7z"), "", m_error, &names, &values, &sizes,
                            &packed, &times));
    EXPECT_EQ(m_error, "");
    const auto& entries = FixtureEntries();
    for (const rtl::TStringList* list : {&names, &values, &sizes, &packed, &times}) {
        ASSERT_EQ(list->Count(), entries.size());
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(names[i], Ansi(std::wstring(entries[i].name.begin(), entries[i].name.end())));
        const long value = std::stol(values[i]);
        EXPECT_EQ((value & FILE_ATTRIBUTE_DIRECTORY) != 0, entries[i].isFolder);
        EXPECT_EQ(std::stoull(sizes[i]), fs::ExpectedContent(entries[i]).size());
        // One block per file here, so every file with data has its own packed size.
        EXPECT_EQ(std::stoull(packed[i]) != 0, !entries[i].isFolder && i != 3);
        EXPECT_FALSE(times[i].empty());
    }
    // Names only, as every caller asks; a failure clears the list as well.
    ASSERT_FALSE(ListArchive(FixturePath("missing.7z"), "", m_error, &names));
    EXPECT_EQ(names.Count(), 0u);
}

TEST(ArchiveTimeText, RoundsToTwoSecondsInLocalTime)
{
    // 2021-03-04 05:06:07.5 UTC
    SYSTEMTIME utc{2021, 3, 4, 4, 5, 6, 7, 500};
    FILETIME time{};
    ASSERT_TRUE(::SystemTimeToFileTime(&utc, &time));
    FILETIME local{};
    ASSERT_TRUE(::FileTimeToLocalFileTime(&time, &local));
    SYSTEMTIME expected{};
    ASSERT_TRUE(::FileTimeToSystemTime(&local, &expected));
    expected.wSecond = 6;
    expected.wMilliseconds = 0;
    char date[64] = {};
    char clock[64] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &expected, nullptr, date, sizeof date);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &expected, nullptr, clock, sizeof clock);
    EXPECT_EQ(EntryTimeText(time), std::string(date) + " " + clock);
    EXPECT_NE(EntryTimeText(time).find("06"), std::string::npos);
    // Before 1980 there is no such time.
    EXPECT_EQ(EntryTimeText(FILETIME{0, 0}), "");
}

TEST(ArchiveDefaults, PasswordIsHandedOutOnceAndNeverOverrunsTheBuffer)
{
    char buffer[kArchivePasswordBufferSize + 16];
    SetDefaultArchivePassword("secret");
    EXPECT_EQ(DefaultPasswordCallback(buffer), 1);
    EXPECT_STREQ(buffer, "secret");
    EXPECT_EQ(DefaultPasswordCallback(buffer), 0);

    SetDefaultArchivePassword(std::string(kArchivePasswordBufferSize + 10, 'p'));
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(DefaultPasswordCallback(buffer), 1);
    EXPECT_EQ(std::string(buffer).size(), kArchivePasswordBufferSize - 1);
    EXPECT_EQ(buffer[kArchivePasswordBufferSize], '#');

    SetDefaultArchivePassword("");
    EXPECT_EQ(DefaultPasswordCallback(buffer), 0);
}

TEST(ArchiveDefaults, QueryNotifyAndProgressAnswers)
{
    SetDefaultQueryAnswer(true);
    EXPECT_EQ(DefaultQueryCallback(1, 0, 0, 0, 0, 0, 0, 0, 0, 0), kArchiveAnswerReplace);
    SetDefaultQueryAnswer(false);
    EXPECT_EQ(DefaultQueryCallback(1, 0, 0, 0, 0, 0, 0, 0, 0, 0), kArchiveAnswerKeep);
    EXPECT_EQ(DefaultNotifyCallback(3, 9), 1);
    EXPECT_EQ(DefaultProgressCallback("name", 5, 10), 1);
    EXPECT_EQ(ArchiveErrorText().front(), '#');
}

TEST(ArchiveTargetList, CopiesEveryNameWithItsTerminator)
{
    const rtl::TStringList names{"a.txt", "", "docs\\b.txt"};
    ArchiveTargetList list(names);
    ASSERT_EQ(list.Record()->count, 3u);
    for (std::size_t i = 0; i < names.Count(); ++i) {
        EXPECT_STREQ(list.Record()->names[i], names[i].c_str());
        EXPECT_NE(list.Record()->names[i], names[i].c_str());
    }
    EXPECT_EQ(ArchiveTargetList(rtl::TStringList{}).Record()->count, 0u);
}

}  // namespace
}  // namespace setup::media
