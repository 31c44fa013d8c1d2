#include "suite/update/update_answer.h"

#include <gtest/gtest.h>

#include <string>

namespace update {
namespace {

TEST(UpdateAnswer, KeysAreReadUpToTheCarriageReturn)
{
    CRefreshkitSettings settings;
    const wchar_t* body =
        L"[Update]\r\nversion=7.10\r\nsize=2097152\r\naccess=http://host/setup.exe\r\n"
        L"parameters=/S /v\r\nfilename=http://host/files/setup.exe\r\nupdateinfo=New!\r\n"
        L"updatestatus=1\r\nextendedinfo=%u0048%u0069\r\nextendedinfo2=two\r\n"
        L"releasedate=2026-12-01\r\nMessageboxPostOkBtnText=Sure?\r\n"
        L"MessageboxPostOkBtnCaption=Question\r\nMessageboxPostOkBtnType=36\r\n"
        L"ExtendedInfoBtnText=More\r\nExtendedInfoBtnLink=http://host/info";
    EXPECT_EQ(ReadAnswer(body, settings), kAnswerRead);
    EXPECT_EQ(settings.answer, body);
    EXPECT_EQ(settings.version, L"7.10");
    EXPECT_EQ(settings.size, 2097152);
    EXPECT_EQ(settings.downloadUrl, L"http://host/setup.exe");
    EXPECT_EQ(settings.installerParameters, L"/S /v");
    EXPECT_EQ(settings.installerFileName, L"http://host/files/setup.exe");
    EXPECT_EQ(settings.updateInfo, L"New!");
    EXPECT_EQ(settings.updateStatus, L"1");
    EXPECT_EQ(settings.extendedInfo, L"Hi");
    EXPECT_EQ(settings.extendedInfo2, L"two");
    EXPECT_EQ(settings.releaseDate, L"2026-12-01");
    EXPECT_EQ(settings.postOkText, L"Sure?");
    EXPECT_EQ(settings.postOkCaption, L"Question");
    EXPECT_EQ(settings.postOkType, 36);
    EXPECT_EQ(settings.extendedInfoButtonText, L"More");
    EXPECT_EQ(settings.extendedInfoButtonLink, L"")  // last line, no carriage return after it
        << "a value needs a carriage return after it";
}

TEST(UpdateAnswer, ErrorAnswersKeepTheirMessage)
{
    struct Case
    {
        const wchar_t* body;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"Error 17. Message: Unknown product id.", L"Unknown product id."},
        {L"Error 1 no such product", L"no such product"},  // no "Message: ": the first 8 dropped
        {L"short", L""},
        {L"", L""},
        {L"Message: a\r\nversion=9", L"a\r\nversion=9"},
    };
    for (const Case& c : cases) {
        CRefreshkitSettings settings;
        settings.version = L"7.0";
        EXPECT_EQ(ReadAnswer(c.body, settings), kErrorAnswer) << c.body;
        EXPECT_EQ(settings.serverMessage, c.message) << c.body;
        EXPECT_EQ(settings.version, L"7.0");  // an error answer reads no key
    }
}

TEST(UpdateAnswer, FieldsMissingFromALaterAnswerCarryOver)
{
    CRefreshkitSettings settings;
    ReadAnswer(L"]\r\nversion=7.1\r\naccess=http://host/a.exe\r\nparameters=/S\r\n", settings);
    ReadAnswer(L"]\r\nversion=7.2\r\nparameters=\r\n", settings);
    EXPECT_EQ(settings.version, L"7.2");
    EXPECT_EQ(settings.downloadUrl, L"http://host/a.exe");
    EXPECT_EQ(settings.installerParameters, L"/S");  // an empty value is not stored

    CRefreshkitSettings fresh;
    ReadAnswer(L"]\r\nparameters=\r\n", fresh);
    EXPECT_EQ(fresh.installerParameters, L"NULL");
}

TEST(UpdateAnswer, FirstOccurrenceAnywhereStartsTheValue)
{
    CRefreshkitSettings settings;
    // "extendedinfo2=" is not "extendedinfo=", but "xversion=" holds "version=".
    ReadAnswer(L"]xversion=1\r\nversion=2\r\nextendedinfo2=b\r\nextendedinfo=a\r\nsize=12ab\r\n",
               settings);
    EXPECT_EQ(settings.version, L"1");
    EXPECT_EQ(settings.extendedInfo, L"a");
    EXPECT_EQ(settings.extendedInfo2, L"b");
    EXPECT_EQ(settings.size, 12);
}

TEST(UpdateAnswer, EscapedTextsDecode)
{
    struct Case
    {
        const wchar_t* value;
        std::wstring decoded;
    };
    const Case cases[] = {
        {L"%u0048%u0069", L"Hi"},
        {L"plain text, 100%", L"plain text, 100%"},  // no "%u": as it is
        {L"%u00e4%u00DF", L"\u00e4\u00df"},
        {L"%u%u%u0041", L"A"},              // runs of separators count as one
        {L"%u004100", L"A"},                // four digits at most
        {L"%u41zz", L"A"},                  // stops at the first non-digit
        {L"%uzz", std::wstring(1, L'\0')},  // no digit at all
        {L"%u", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeAnswerText(c.value), c.decoded) << c.value;
}

TEST(UpdateAnswer, NewerIsACaseBlindTextComparison)
{
    struct Case
    {
        const wchar_t* installed;
        const wchar_t* offered;
        bool newer;
    };
    const Case cases[] = {
        {L"7.9", L"7.10", false},  // text, not numbers
        {L"7.10", L"7.9", true},  {L"7.1", L"7.1", false},   {L"7.1", L"7.1.1", true},
        {L"7.1a", L"7.1B", true}, {L"7.1B", L"7.1a", false}, {L"7.1A", L"7.1a", false},
        {L"", L"1", true},        {L"1", L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(c.installed, c.offered), c.newer)
            << c.installed << " " << c.offered;
}

TEST(UpdateAnswer, InstallerNameNeverLeavesTheTemporaryFolder)
{
    struct Case
    {
        const wchar_t* name;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {L"http://host/files/setup.exe", L"setup.exe"},
        {L"setup.exe", L"setup.exe"},
        {L"http://host/..\\..\\Windows\\evil.exe", L"evil.exe"},
        {L"http://host/a\\b/c\\setup.exe", L"setup.exe"},
        {L"http://host/files/", std::nullopt},
        {L"", std::nullopt},
        {L"..", std::nullopt},
        {L"http://host/setup..exe", std::nullopt},
        {L"C:evil.exe", std::nullopt},
        {L"setup.exe:stream", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstallerFileName(c.name), c.expected) << c.name;
}

TEST(UpdateAnswer, PercentOfTheAnnouncedSize)
{
    struct Case
    {
        std::uint64_t done;
        std::int64_t announced;
        int percent;
    };
    const Case cases[] = {
        {0, 100, 0},
        {50, 100, 50},
        {65536, 131072, 50},
        {100, 100, 100},
        {200, 100, 100},
        {5, 0, 0},
        {5, -1, 0},
        {2147483647, 2147483647, 100},
        {21474836, 2147483647, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DownloadPercent(c.done, c.announced), c.percent) << c.done << "/" << c.announced;
}

}  // namespace
}  // namespace update
